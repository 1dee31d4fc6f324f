#include "ui/help_texts.h"

#include <QDir>
#include <QFileInfo>

#include "ui/language_texts.h"

namespace quillon::ui {

QString programVersion() { return QStringLiteral(QUILLON_VERSION); }

QString aboutText(const LanguageTable& lang) {
    return QStringLiteral("<b>Quillon</b><br>Version %1<br><br>%2<br><br>%3 MIT")
        .arg(programVersion(),
             langText(lang, 1410,
                      "Editor für die Karten von GBA-Roms (Ruby, Sapphire, Emerald, FireRed, "
                      "LeafGreen): Blöcke, Bewegungsdaten, Events, Header und wilde Pokemon.")
                 .toHtmlEscaped(),
             langText(lang, 1411, "Lizenz:").toHtmlEscaped());
}

QString noReadmeText(const LanguageTable& lang, const QString& programFolder) {
    QStringList names;
    for (const QString& file : readmeCandidates(programFolder)) {
        names << QFileInfo(file).fileName();
    }
    return QStringLiteral("%1 \"%2\" (%3 %4).")
        .arg(langText(lang, 1400, "Keine Readme-Datei gefunden in"),
             QDir::toNativeSeparators(programFolder), langText(lang, 1401, "gesucht:"),
             names.join(QStringLiteral(", ")));
}

QStringList readmeCandidates(const QString& programFolder) {
    const QDir folder(programFolder);
    QStringList files;
    for (const char* name : {"Readme.txt", "README.md", "Readme.html"}) {
        files << folder.filePath(QString::fromLatin1(name));
    }
    return files;
}

}  // namespace quillon::ui
