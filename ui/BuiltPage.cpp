#include "ui/BuiltPage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

QString PagePath() {
    const QString dir = QCoreApplication::applicationDirPath();
    const QString installed = dir + QStringLiteral("/../share/bitwell/bitwell.html");
    if (QFileInfo(installed).isFile()) return installed;
    // Only the build's own program: a test or a copy elsewhere finds none.
    const QFileInfo built(QStringLiteral(BITWELL_BUILD_PAGE));
    if (QFileInfo(dir) == QFileInfo(QStringLiteral(BITWELL_BUILD_APP_DIR)) && built.isFile())
        return built.filePath();
    return {};
}

}  // namespace

bool ReadBuiltPage(std::string& bytes) {
    constexpr std::size_t kLimit = 64 << 20;
    const QString path = PagePath();
    std::FILE* file = path.isEmpty() ? nullptr : std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!file) return false;
    bytes.assign(kLimit + 1, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    const bool failed = std::ferror(file) || bytes.size() > kLimit;
    std::fclose(file);
    return !failed;
}
