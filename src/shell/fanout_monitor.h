#pragma once
// Hands every monitor record to each of several sinks: the monitor log and
// its model, and the headless printer or a test's recorder.
//
// Names and texts can come from anyone who reaches the item exchange or a
// script. Characters that would act on a terminal or a reader instead of
// showing (control characters other than tab and line feed, and the
// bidirectional overrides and isolates that make a line read backwards) are
// written as "<U+202E>", so no sink ever gets them raw.

#include "store/monitor_record.h"

#include <QString>

#include <algorithm>
#include <vector>

namespace qv::shell {

inline bool actsInsteadOfShowing(char16_t c) {
    if (c == u'\t' || c == u'\n') return false;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return true;
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// False, and `text` untouched, when it holds nothing to escape.
inline bool escapeHiddenCharacters(QString& text) {
    const auto hidden = [](QChar c) { return actsInsteadOfShowing(c.unicode()); };
    if (std::none_of(text.cbegin(), text.cend(), hidden)) return false;
    QString shown;
    shown.reserve(text.size() + 16);
    for (const QChar c : text) {
        if (hidden(c))
            shown += QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    text = shown;
    return true;
}

class FanoutMonitor final : public store::MonitorSink {
public:
    void add(store::MonitorSink* sink) {
        if (sink) m_sinks.push_back(sink);
    }
    void remove(store::MonitorSink* sink) { std::erase(m_sinks, sink); }
    void MonitorAdditem(const store::MonitorRecord& record) override {
        store::MonitorRecord shown = record;
        bool escaped = false;
        for (QString* field : {&shown.MsgType, &shown.RS232, &shown.Macro, &shown.DateTime, &shown.comment,
                               &shown.area, &shown.Preset, &shown.channel, &shown.ChannelLevel})
            escaped = escapeHiddenCharacters(*field) || escaped;
        const store::MonitorRecord& out = escaped ? shown : record;
        for (store::MonitorSink* sink : m_sinks) sink->MonitorAdditem(out);
    }

private:
    std::vector<store::MonitorSink*> m_sinks;
};

}  // namespace qv::shell
