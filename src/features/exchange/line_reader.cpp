#include "features/exchange/line_reader.h"

namespace qv::exchange {

LineReader::LineReader(int maxLineBytes) : m_maxLineBytes(maxLineBytes) {}

std::vector<LineReader::Line> LineReader::feed(QByteArrayView bytes) {
    std::vector<Line> lines;
    while (!bytes.isEmpty()) {
        const qsizetype newline = bytes.indexOf('\n');
        const QByteArrayView part = newline < 0 ? bytes : bytes.first(newline);
        bytes = newline < 0 ? QByteArrayView() : bytes.sliced(newline + 1);

        if (!m_skipping) {
            m_buffer.append(part);
            // A CR at the end is (or may yet be) the first half of a CRLF,
            // so it does not count against the cap.
            const qsizetype length = m_buffer.size() - (m_buffer.endsWith('\r') ? 1 : 0);
            if (length > m_maxLineBytes) {
                lines.push_back(Line{{}, true});
                m_buffer.clear();
                m_skipping = true;
            }
        }
        if (newline < 0) break;
        if (m_skipping) {
            m_skipping = false;
            continue;
        }
        if (m_buffer.endsWith('\r')) m_buffer.chop(1);
        lines.push_back(Line{m_buffer, false});
        m_buffer.clear();
    }
    return lines;
}

}  // namespace qv::exchange
