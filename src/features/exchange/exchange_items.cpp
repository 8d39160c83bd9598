#include "features/exchange/exchange_items.h"

#include "net/builders.h"
#include "net/labels.h"

namespace qv::exchange {

namespace {

const QString kZero = QStringLiteral("0");

std::optional<int> integerValue(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return value;
}

QString quoted(const QString& text) {
    constexpr int kQuoteChars = 40;
    const QString shown = text.size() <= kQuoteChars ? text : text.left(kQuoteChars) + QStringLiteral("...");
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

ExchangeItems::WriteResult refused(const QString& reason) {
    return ExchangeItems::WriteResult{false, reason};
}

bool isArea(int value) {
    return value >= 0 && value <= net::kMaxArea;
}

}  // namespace

template <typename Self>
auto& ExchangeItems::slot(Self& self, const ItemRef& item) {
    switch (item.kind) {
        case ItemKind::SetArea:
            return self.m_setArea.at(static_cast<std::size_t>(item.area));
        case ItemKind::StatusArea:
            return self.m_statusArea.at(static_cast<std::size_t>(item.area));
        case ItemKind::Area1:
            return self.m_area1;
        case ItemKind::SetAreaPreset:
            return self.m_setAreaPreset;
        case ItemKind::RequestAreaPreset:
            return self.m_requestAreaPreset;
        case ItemKind::Macro:
            return self.m_macro;
        case ItemKind::StatusofAreaPreset:
            break;
    }
    return self.m_statusofAreaPreset;
}

ExchangeItems::ExchangeItems(Sender sendRS232, macros::MacroRunner& runner)
    : m_send(std::move(sendRS232)), m_runner(runner) {
    m_setArea.fill(kZero);
    m_area1 = kZero;
}

void ExchangeItems::load(const net::AreaState& state) {
    m_loaded = true;
    // Loaded after start-up (the permission ticked later), the status items
    // would otherwise stay empty until each area is next heard.
    for (int area = 1; area <= net::kMaxArea; ++area) {
        const int preset = state.GetPresetforArea(area);
        if (preset >= 1) assign(ItemRef{ItemKind::StatusArea, area}, QString::number(preset));
    }
}

QString ExchangeItems::read(const ItemRef& item) const {
    return slot(*this, item);
}

ExchangeItems::WriteResult ExchangeItems::write(const ItemRef& item, const QString& value) {
    switch (item.kind) {
        case ItemKind::SetArea:
            return writeSetArea(item.area, value);
        case ItemKind::Area1:
            return writeArea1(value);
        case ItemKind::SetAreaPreset:
            return writeSetAreaPreset(value);
        case ItemKind::RequestAreaPreset:
            return writeRequestAreaPreset(value);
        case ItemKind::Macro:
            return writeMacro(value);
        case ItemKind::StatusArea:
        case ItemKind::StatusofAreaPreset:
            break;
    }
    return refused(item.name() + QStringLiteral(" is written by the program, not by clients"));
}

ExchangeItems::WriteResult ExchangeItems::writeSetArea(int area, const QString& value) {
    const ItemRef item{ItemKind::SetArea, area};
    const std::optional<int> preset = integerValue(value);
    WriteResult result;
    if (preset && *preset >= 0 && *preset <= kMaxSetAreaPreset)
        result = goAreaPreset(area, *preset, item.name());
    else
        result = refused(item.name() + QStringLiteral(" takes a preset 0-96, not ") + quoted(value));
    assign(item, kZero);
    return result;
}

ExchangeItems::WriteResult ExchangeItems::writeArea1(const QString& value) {
    const ItemRef item{ItemKind::Area1, 0};
    const std::optional<int> preset = integerValue(value);
    const WriteResult result =
        preset && *preset >= 0 && *preset <= kMaxSetAreaPreset
            ? goAreaPreset(1, *preset, item.name())
            : refused(item.name() + QStringLiteral(" takes a preset 0-96, not ") + quoted(value));
    assign(item, kZero);
    return result;
}

ExchangeItems::WriteResult ExchangeItems::writeSetAreaPreset(const QString& value) {
    const ItemRef item{ItemKind::SetAreaPreset, 0};
    // The text stays in the item: only SetArea, Area1, RequestAreaPreset and
    // Macro are reset after a write.
    assign(item, value);
    if (value.trimmed().isEmpty()) return {};
    const qsizetype comma = value.indexOf(QLatin1Char(','));
    if (comma < 0)
        return refused(item.name() + QStringLiteral(" takes \"area,preset\", not ") + quoted(value));
    const std::optional<int> area = integerValue(value.left(comma));
    if (!area || !isArea(*area))
        return refused(item.name() + QStringLiteral(": the area must be 0-255, not ") +
                       quoted(value.left(comma)));
    const std::optional<int> preset = integerValue(value.mid(comma + 1));
    if (!preset || *preset < 0 || *preset > kMaxSetAreaPreset)
        return refused(item.name() + QStringLiteral(": the preset must be 0-96, not ") +
                       quoted(value.mid(comma + 1)));
    return goAreaPreset(*area, *preset, item.name());
}

ExchangeItems::WriteResult ExchangeItems::writeRequestAreaPreset(const QString& value) {
    const ItemRef item{ItemKind::RequestAreaPreset, 0};
    WriteResult result;
    if (!value.trimmed().isEmpty()) {
        const std::optional<int> area = integerValue(value);
        if (area && isArea(*area)) {
            if (const auto message = net::AskforCurrentPreset(*area)) m_send(*message);
        } else {
            result = refused(item.name() + QStringLiteral(" takes an area 0-255, not ") + quoted(value));
        }
    }
    assign(item, QString());
    return result;
}

ExchangeItems::WriteResult ExchangeItems::writeMacro(const QString& value) {
    const ItemRef item{ItemKind::Macro, 0};
    // A name typed by hand often carries a stray space; no macro is named so.
    const QString name = value.trimmed();
    WriteResult result;
    if (name.size() > kMaxMacroNameChars)
        result = refused(QStringLiteral("a macro name is at most 255 characters"));
    else if (!name.isEmpty())
        m_runner.RunMacro(name);
    assign(item, QString());
    return result;
}

ExchangeItems::WriteResult ExchangeItems::goAreaPreset(int area, int preset, const QString& item) {
    if (preset == 0) return {};  // preset 0 is no preset: nothing is sent
    const auto message = net::GoAreaPreset(area, preset);
    if (!message)
        return refused(item + QStringLiteral(": no message can select preset ") + QString::number(preset));
    m_send(*message);
    return {};
}

void ExchangeItems::statusHeard(int area, int preset) {
    if (!m_loaded || area < 1 || area > net::kMaxArea || preset < 1) return;
    assign(ItemRef{ItemKind::StatusArea, area}, QString::number(preset));
    assign(ItemRef{ItemKind::StatusofAreaPreset, 0},
           QString::number(area) + QLatin1Char(',') + QString::number(preset));
}

void ExchangeItems::allAreasHeard(int preset) {
    if (!m_loaded || preset < 1) return;
    const QString text = QString::number(preset);
    for (int area = 1; area <= net::kMaxArea; ++area) assign(ItemRef{ItemKind::StatusArea, area}, text);
}

void ExchangeItems::assign(const ItemRef& item, const QString& text) {
    QString& current = slot(*this, item);
    if (current == text) return;
    current = text;
    if (m_changed) m_changed(item, text);
}

}  // namespace qv::exchange
