#include "store/monitor_model.h"

#include <array>

namespace qv::store {

namespace {

struct Header {
    const char* caption;
    int twips;
};

// Column 0 has no caption; the window keeps it narrow.
constexpr std::array<Header, MonitorModel::kColumnCount> kHeaders = {{
    {"", 0},
    {"#", 700},
    {"Type", 1000},
    {"RS232", 2200},
    {"Date/Time", 2000},
    {"Macro", 1500},
    {"Command", 4300},
    {"Area", 800},
    {"Preset", 800},
    {"Channel", 800},
    {"Channel Lvl%", 1200},
}};

}  // namespace

QString monitorDateText(const QString& stored) {
    // Rearranging the fixed positions is much cheaper than parsing, and this
    // runs for every row heard.
    if (stored.size() == 19 && stored[4] == QLatin1Char('-') && stored[7] == QLatin1Char('-') &&
        stored[10] == QLatin1Char(' ') && stored[13] == QLatin1Char(':') && stored[16] == QLatin1Char(':')) {
        return stored.mid(8, 2) + QLatin1Char('/') + stored.mid(5, 2) + QLatin1Char('/') + stored.left(4) +
               stored.mid(10);
    }
    return stored;
}

QString monitorCaption(const QTime& time) {
    return QStringLiteral("System Message Monitor  ") + time.toString(QStringLiteral("HH:mm:ss"));
}

MonitorModel::MonitorModel(QObject* parent) : QAbstractTableModel(parent) {}

int MonitorModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int MonitorModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant MonitorModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount() || index.column() < 0 ||
        index.column() >= kColumnCount)
        return {};
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
        case BackgroundRgbRole:
            return QVariant::fromValue<quint32>(row.colours.background);
        case TextRgbRole:
            return row.colours.text ? QVariant::fromValue<quint32>(*row.colours.text) : QVariant();
        case Qt::DisplayRole:
            break;
        default:
            return {};
    }
    const MonitorRecord& r = row.record;
    switch (index.column()) {
        case Fixed:
            return QString();
        case Counter:
            return row.counter > 0 ? QString::number(row.counter) : QString();
        case Type:
            return r.MsgType;
        case RS232:
            return r.RS232;
        case DateTime:
            return row.dateText;
        case Macro:
            return r.Macro;
        case Command:
            return r.comment;
        case Area:
            return r.area;
        case Preset:
            return r.Preset;
        case Channel:
            return r.channel;
        case ChannelLevel:
            return r.ChannelLevel;
    }
    return {};
}

QVariant MonitorModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount) return {};
    const Header& header = kHeaders[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromLatin1(header.caption);
    if (role == ColumnWidthTwipsRole && header.twips > 0) return header.twips;
    return {};
}

void MonitorModel::append(Row row) {
    // Dropping first keeps the list at kMaxRows at every moment a view looks.
    if (m_rows.size() >= static_cast<std::size_t>(kMaxRows)) {
        beginRemoveRows({}, 0, 0);
        m_rows.pop_front();
        endRemoveRows();
    }
    const int at = static_cast<int>(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.push_back(std::move(row));
    endInsertRows();
    emit rowAdded(at);
}

void MonitorModel::addRecord(const MonitorRecord& record) {
    Row row;
    row.counter = ++m_counter;
    row.dateText = monitorDateText(record.DateTime);
    row.colours = coloursForMsgType(record.MsgType);
    row.record = record;
    append(std::move(row));
}

void MonitorModel::addSeparatorRows() {
    for (const char* comment : {"", kSeparatorComment, ""}) {
        Row row;
        row.record.comment = QString::fromLatin1(comment);
        row.colours = RowColours{kSeparatorBackground, std::nullopt};
        append(std::move(row));
    }
}

void MonitorModel::clear() {
    beginResetModel();
    m_rows.clear();
    m_counter = 0;
    endResetModel();
}

}  // namespace qv::store
