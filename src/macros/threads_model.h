#pragma once
// The running macros as the threads window shows them: one row per processor
// slot M1..M30, holding the name of the macro running there (ThreadLabel) or
// the empty text for an empty slot.

#include <QAbstractListModel>
#include <QStringList>

namespace qv::macros {

class MacroThreadsModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { SlotRole = Qt::UserRole + 1 };  // the slot number, 1..30

    explicit MacroThreadsModel(int slotCount, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Slot numbers count from 1, as the window's labels do.
    QString ThreadLabel(int slot) const;
    void setThreadLabel(int slot, const QString& name);

private:
    QStringList m_labels;
};

}  // namespace qv::macros
