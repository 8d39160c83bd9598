#pragma once
// Cuts a byte stream into lines of at most a fixed length.
//
// The buffer never holds more than one line's worth: a line that outgrows
// the cap is reported once, as soon as it does, and the rest of it (up to
// its LF) is thrown away, so an endless line cannot eat memory.

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace qv::exchange {

class LineReader {
public:
    struct Line {
        QByteArray text;       // without LF and without a CR before it
        bool tooLong = false;  // the line went past the cap; text is empty
    };

    explicit LineReader(int maxLineBytes);

    // Takes the next bytes of the stream and returns the lines they complete.
    std::vector<Line> feed(QByteArrayView bytes);

    // Bytes of an unfinished line.
    qsizetype pendingBytes() const { return m_buffer.size(); }

private:
    int m_maxLineBytes;
    QByteArray m_buffer;
    bool m_skipping = false;  // inside a line already reported as too long
};

}  // namespace qv::exchange
