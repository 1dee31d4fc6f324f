#pragma once

#include <QString>
#include <QStringList>

namespace quillon::ui {

// The program's version, as --version prints it.
QString programVersion();

// The about box: program name, version, what it is, licence.
QString aboutText();

// The read-me files "Readme" looks for beside the program, in the order tried.
QStringList readmeCandidates(const QString& programFolder);

}  // namespace quillon::ui
