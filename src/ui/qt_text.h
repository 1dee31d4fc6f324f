#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

namespace quillon::ui {

// The core keeps its texts in UTF-8.
inline QString toQ(const std::string& text) { return QString::fromStdString(text); }
inline std::string toStd(const QString& text) { return text.toStdString(); }
inline std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(QFile::encodeName(file).toStdString());
}
inline QString fromPath(const std::filesystem::path& file) {
    return QFile::decodeName(QByteArray::fromStdString(file.string()));
}

}  // namespace quillon::ui
