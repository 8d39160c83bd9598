#pragma once
// A link whose far end is the test: it keeps what was written and lets the
// test inject what the gateway would say.

#include "comms/link.h"

#include <vector>

namespace qv::test {

class FakeLink final : public comms::Link {
public:
    explicit FakeLink(comms::Link::OpenError openResult) : m_openResult(openResult) {}

    OpenError open() override {
        ++opens;
        m_open = m_openResult == OpenError::None;
        return m_openResult;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool send(const QByteArray& bytes) override {
        if (!m_open) return false;
        written.push_back(bytes);
        return true;
    }
    QString errorText() const override { return QStringLiteral("fake error"); }
    bool usesOutBox() const override { return outBox; }

    void inject(const QByteArray& bytes) { emit received(bytes); }

    std::vector<QByteArray> written;
    int opens = 0;
    bool outBox = true;  // false: as a server link, which takes messages at once

private:
    OpenError m_openResult;
    bool m_open = false;
};

}  // namespace qv::test
