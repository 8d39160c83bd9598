#pragma once
// The logic of the lamp windows (LampTypeForm, LampPropertiesForm,
// LampsOnChannelsForm): lamp types with unique descriptions, their measured
// points (each stored point rebuilds the interpolation table) and how many
// lamps of a type hang on a channel. Readers throw StoreError; changes answer
// an Outcome with the text to show.

#include "features/devices/lamp_interpolation.h"
#include "store/database.h"
#include "store/outcome.h"

#include <vector>

namespace qv::devices {

struct LampTypeRow {
    int fittingId = 0;
    QString description;
    double ratedWattage = 0;
    double losses = 0;
};

struct LampsOnChannelRow {
    int area = 0;
    int channel = 0;
    int fittingId = 0;
    int number = 0;
};

class LampEditors {
public:
    explicit LampEditors(store::Database& main);

    std::vector<LampTypeRow> lampTypes();
    std::vector<LampsOnChannelRow> lampsOnChannel(int area, int channel);

    // newId, when given, receives the new type's LampFitting_ID.
    store::Outcome addLampType(const QString& description, double ratedWattage, double losses,
                               int* newId = nullptr);
    store::Outcome updateLampType(int fittingId, const QString& description, double ratedWattage,
                                  double losses);
    // With its measured points, its interpolation table and its lamps on channels.
    store::Outcome deleteLampType(int fittingId);

    // LampPropertiesForm's enterbutton; the table is rebuilt every time.
    store::Outcome enterMeasuredPoint(int fittingId, const QString& percentageText, const QString& loadText);
    store::Outcome removeMeasuredPoint(int fittingId, int percentage);

    // The number of lamps of the type on the channel; 0 takes the type off it.
    store::Outcome setLampsOnChannel(int area, int channel, int fittingId, const QString& numberText);

private:
    bool fittingExists(int fittingId);
    store::Outcome failed(const QString& what, const std::exception& error);

    store::Database& m_main;
};

}  // namespace qv::devices
