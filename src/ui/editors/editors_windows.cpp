#include "shell/engine.h"
#include "ui/editors/area_name_form.h"
#include "ui/editors/button_assignment_form.h"
#include "ui/editors/channel_levels_form.h"
#include "ui/editors/custom_code_form.h"
#include "ui/editors/email_form.h"
#include "ui/editors/light_box_form.h"
#include "ui/window_catalogue.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QTableWidget>

namespace qv::ui {

void addEditorWindows(Windows& windows) {
    windows.add(
        window::kNames,
        {.create = [&w = windows](const QVariant&) -> QWidget* {
             return new AreaNameForm(w.engine(), w.mainWindow());
         },
         .reopen = [](QWidget* window, const QVariant&) { static_cast<AreaNameForm*>(window)->reload(); },
         .keep = true});
    windows.add(
        window::kButtonEditor,
        {.create = [&w = windows](const QVariant& arg) -> QWidget* {
             return new ButtonAssignmentForm(w.engine(), arg.isValid() ? arg.toInt() : 1, w.mainWindow());
         },
         .reopen =
             [](QWidget* window, const QVariant& arg) {
                 static_cast<ButtonAssignmentForm*>(window)->showButton(arg.isValid() ? arg.toInt() : 1);
             },
         .keep = true});
    windows.add(
        window::kEmails,
        {.create = [&w = windows](const QVariant&) -> QWidget* {
             return new EmailForm(w.engine(), w.mainWindow());
         },
         .reopen = [](QWidget* window, const QVariant&) { static_cast<EmailForm*>(window)->reload(); },
         .keep = true});
    windows.add(
        window::kCustomCodes,
        {.create = [&w = windows](const QVariant&) -> QWidget* {
             return new CustomCodeForm(w.engine(), w.mainWindow());
         },
         .reopen = [](QWidget* window, const QVariant&) { static_cast<CustomCodeForm*>(window)->reload(); },
         .keep = true});
    windows.add(
        window::kLightBoxes,
        {.create = [&w = windows](const QVariant&) -> QWidget* {
             return new LightBoxForm(w, w.mainWindow());
         },
         .reopen = [](QWidget* window, const QVariant&) { static_cast<LightBoxForm*>(window)->reload(); },
         .keep = true});
    windows.add(window::kLightBoxLevels, {.create = [&w = windows](const QVariant& arg) -> QWidget* {
                                              const auto where = arg.toList();
                                              return new ChannelLevelsForm(w.engine(), where.value(0).toInt(),
                                                                           where.value(1).toInt(),
                                                                           w.mainWindow());
                                          },
                                          .reopen =
                                              [](QWidget* window, const QVariant& arg) {
                                                  const auto where = arg.toList();
                                                  static_cast<ChannelLevelsForm*>(window)->showChannel(
                                                      where.value(0).toInt(), where.value(1).toInt());
                                              },
                                          .keep = true});

    windows.addScene(QStringLiteral("names"), [](Windows& w) -> QWidget* {
        auto* form = static_cast<AreaNameForm*>(w.open(window::kNames));
        if (auto* grid = form ? form->findChild<QTableWidget*>(QStringLiteral("AreaGrid")) : nullptr)
            grid->setCurrentCell(1, 1);
        return form;
    });
    windows.addScene(QStringLiteral("button-editor"),
                     [](Windows& w) -> QWidget* { return w.open(window::kButtonEditor, 2); });
    windows.addScene(QStringLiteral("emails"),
                     [](Windows& w) -> QWidget* { return w.open(window::kEmails); });
    windows.addScene(QStringLiteral("custom-codes"), [](Windows& w) -> QWidget* {
        auto* form = w.open(window::kCustomCodes);
        if (auto* names = form ? form->findChild<QComboBox*>(QStringLiteral("CustomCombo")) : nullptr) {
            names->setCurrentIndex(0);
            emit names->activated(0);
        }
        return form;
    });
    // The demo's box 1 drives channels 7 to 9 of area 5; channel 7 has named levels.
    windows.addScene(QStringLiteral("light-box"), [](Windows& w) -> QWidget* {
        auto* form = w.open(window::kLightBoxes);
        if (auto* box = form ? form->findChild<QComboBox*>(QStringLiteral("LightBoxCombo")) : nullptr;
            box && box->count() > 0) {
            box->setCurrentIndex(0);
            emit box->activated(0);
        }
        return form;
    });
    // With a favourite from the demo's second box chosen.
    windows.addScene(QStringLiteral("light-box-levels"), [](Windows& w) -> QWidget* {
        QWidget* form = w.open(window::kLightBoxLevels, QVariantList{5, 7});
        if (auto* favourites = form->findChild<QComboBox*>(QStringLiteral("FavouritesCombo"));
            favourites && favourites->count() > 0) {
            favourites->setCurrentIndex(0);
            emit favourites->activated(0);
        }
        return form;
    });
}

}  // namespace qv::ui
