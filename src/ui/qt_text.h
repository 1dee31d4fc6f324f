#pragma once

#include <QFile>
#include <QString>
#include <filesystem>
#include <string>

namespace quillon::ui {

// The core keeps its texts in UTF-8.
inline QString toQ(const std::string& text) { return QString::fromStdString(text); }
inline std::string toStd(const QString& text) { return text.toStdString(); }
// Windows names are UTF-16 on both sides; elsewhere they are bytes in the locale's encoding.
inline std::filesystem::path toPath(const QString& file) {
#ifdef _WIN32
    return std::filesystem::path(file.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(file).toStdString());
#endif
}
inline QString fromPath(const std::filesystem::path& file) {
#ifdef _WIN32
    return QString::fromStdWString(file.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(file.string()));
#endif
}

}  // namespace quillon::ui
