#pragma once

#include <QString>
#include <QStringList>

namespace quillon {
class LanguageTable;
}

namespace quillon::ui {

// The program's version, as --version prints it.
QString programVersion();

// The about box: program name, version, what it is (1410), licence (1411).
QString aboutText(const LanguageTable& lang);

// The message when none of the read-me files is there (1400 + folder + 1401 + the names).
QString noReadmeText(const LanguageTable& lang, const QString& programFolder);

// The read-me files "Readme" looks for beside the program, in the order tried.
QStringList readmeCandidates(const QString& programFolder);

}  // namespace quillon::ui
