#pragma once
// The sensor window's grid: one row per sensor with its latest polled result.
// The poll step writes results here; the window only displays the model.

#include "features/devices/sensor_rows.h"

#include <QAbstractTableModel>
#include <QDateTime>

#include <vector>

namespace qv::devices {

class SensorGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { BoxColumn, DescriptionColumn, LuxColumn, RespondedColumn, LogColumn, ColumnCount };
    enum Role {
        // True on the first data cell of a sensor that did not answer.
        NoAnswerRole = Qt::UserRole + 1,
        // 0xRRGGBB for a cell whose text has its own colour (red, 255 0 0, for
        // no answer); no value where the window's usual text colour applies.
        TextRgbRole,
    };
    static constexpr unsigned kNoAnswerRgb = 0xFF0000;

    struct Row {
        SensorRow sensor;
        QString lux;          // "???" or the corrected lux; empty until polled
        QString respondedAt;  // "dd/MM/yyyy HH:mm:ss" of the last answer shown
        bool noAnswer = false;
    };

    explicit SensorGridModel(QObject* parent = nullptr);

    // The sensors as listed; results already shown stay with their box.
    void setSensors(const std::vector<SensorRow>& sensors);

    // The poll step's result for a box: lux -1 is no answer ("???", red);
    // otherwise lux x calibration and the time it is shown. A box without a
    // row is ignored.
    void showResult(int box, int lux, double calibration, const QDateTime& now);

    const Row* rowFor(int box) const;
    const std::vector<Row>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<Row> m_rows;
};

}  // namespace qv::devices
