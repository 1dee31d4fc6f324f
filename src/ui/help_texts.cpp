#include "ui/help_texts.h"

#include <QDir>

namespace quillon::ui {

QString programVersion() { return QStringLiteral(QUILLON_VERSION); }

QString aboutText() {
    return QStringLiteral(
               "<b>Quillon</b><br>Version %1<br><br>"
               "Editor für die Karten von GBA-Roms (Ruby, Sapphire, Emerald, FireRed, "
               "LeafGreen): Blöcke, Bewegungsdaten, Events, Header und wilde Pokemon.<br><br>"
               "Lizenz: MIT")
        .arg(programVersion());
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
