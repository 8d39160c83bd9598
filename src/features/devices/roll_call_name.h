#pragma once
// A roll call's results go to a file named after the roll call in the data
// folder. A name that is not a plain file name there (a path, "..", a
// device name, the name of one of the program's own files) is refused, so a
// roll call can never write outside the folder or over another database.

#include "store/data_paths.h"

#include <QString>

#include <optional>

namespace qv::devices {

// Nothing when the name can be used; otherwise the message to show.
std::optional<QString> rollCallNameProblem(const QString& name);

// The results file of a roll call: name + ".db" in the data folder.
QString rollCallResultsPath(const store::DataPaths& paths, const QString& name);

}  // namespace qv::devices
