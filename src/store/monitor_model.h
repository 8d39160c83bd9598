#pragma once
// The monitor list: the most recent monitor rows with their counter, texts and
// colours, as a table model the monitor window only has to display. QtCore
// only; colours come as 0xRRGGBB numbers in their own roles.

#include "store/monitor_colours.h"
#include "store/monitor_record.h"

#include <QAbstractTableModel>
#include <QTime>

#include <deque>

namespace qv::store {

// The stored "yyyy-MM-dd HH:mm:ss" as the list shows it, "dd/MM/yyyy HH:mm:ss".
// A text of another form is shown as it is rather than hidden.
QString monitorDateText(const QString& stored);

// The monitor window's caption: "System Message Monitor  HH:mm:ss".
QString monitorCaption(const QTime& time);

class MonitorModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        BackgroundRgbRole = Qt::UserRole + 1,  // quint32 0xRRGGBB, every cell of the row
        TextRgbRole,                           // quint32 0xRRGGBB, or no value: keep the default
        ColumnWidthTwipsRole,                  // headerData: the designed column width
    };

    // Column 0 is the narrow fixed column; 1-10 carry the headers.
    enum Column {
        Fixed,
        Counter,
        Type,
        RS232,
        DateTime,
        Macro,
        Command,
        Area,
        Preset,
        Channel,
        ChannelLevel
    };
    static constexpr int kColumnCount = 11;
    // Repainting and memory stay bounded however long the program runs.
    static constexpr int kMaxRows = 10000;

    explicit MonitorModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // One MonitorAdditem row: the counter goes up first, the oldest row goes
    // once the list would pass kMaxRows, and rowAdded() tells the window.
    void addRecord(const MonitorRecord& record);
    // The three yellow rows that end the read-back of earlier sessions. They
    // carry no counter.
    void addSeparatorRows();
    // Empties the list and starts the counter again; the log file is not touched.
    void clear();

    qint64 rowCounter() const { return m_counter; }
    // The record shown in a row (valid rows only).
    const MonitorRecord& recordAt(int row) const { return m_rows.at(static_cast<std::size_t>(row)).record; }

    static constexpr const char* kSeparatorComment = "Data above is from previous session(s)";

signals:
    // The new last row: the window selects it and scrolls to it unless frozen.
    void rowAdded(int row);

private:
    struct Row {
        MonitorRecord record;
        QString dateText;
        qint64 counter = 0;  // 0: no counter shown
        RowColours colours;
    };

    void append(Row row);

    std::deque<Row> m_rows;
    qint64 m_counter = 0;
};

}  // namespace qv::store
