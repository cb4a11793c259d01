#include "ui/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <map>
#include <memory>
#include <vector>

#include "core/Catalogue.h"

namespace {

// Answers Qt's requests from the core's catalogue; an empty answer lets Qt
// fall back to the English text it asked with.
class CoreTranslator final : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override {
        if (!context || !sourceText) return {};
        const std::string found = bitwell::Lookup(context, sourceText);
        // Qt takes any string that is not null as the answer.
        return found.empty() ? QString() : QString::fromStdString(found);
    }
};

QSettings Settings() { return QSettings(QStringLiteral("bitwell"), QStringLiteral("bitwell")); }

}  // namespace

bool ApplyLanguage(const QString& code) {
    if (!bitwell::SetLanguage(code.toStdString())) return false;
    // Not owned by an application object: the command line's short-lived
    // one goes before the window's comes. Each of Qt's catalogues is read
    // from disk once.
    static CoreTranslator ours;
    static std::map<QString, std::unique_ptr<QTranslator>> qtCatalogues;
    static QTranslator* qt = nullptr;
    // Qt's file dialogs and standard buttons in the same language.
    if (qt) QCoreApplication::removeTranslator(qt);
    qt = nullptr;
    if (code != QLatin1String("en")) {
        auto [it, fresh] = qtCatalogues.try_emplace(code);
        if (fresh) {
            auto next = std::make_unique<QTranslator>();
            if (next->load(QLocale(code), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                it->second = std::move(next);
        }
        qt = it->second.get();
        if (qt) QCoreApplication::installTranslator(qt);
    }
    // Ours answers first: translators are asked from the last installed.
    QCoreApplication::removeTranslator(&ours);
    QCoreApplication::installTranslator(&ours);
    return true;
}

QString StartLanguage(const QString& asked) {
    if (!asked.isEmpty()) return asked;
    const QString kept = Settings().value(QStringLiteral("language")).toString();
    if (LanguageCodes().contains(kept)) return kept;
    std::vector<std::string> tags;
    for (const QString& tag : QLocale::system().uiLanguages()) tags.push_back(tag.toStdString());
    return QString::fromStdString(bitwell::PickLanguage(tags));
}

void RememberLanguage(const QString& code) { Settings().setValue(QStringLiteral("language"), code); }

QStringList LanguageCodes() {
    QStringList codes;
    for (const std::string& code : bitwell::Languages()) codes << QString::fromStdString(code);
    return codes;
}

QString Translated(const bitwell::Message& m, int arg) {
    if (m.empty()) return {};
    QString text = m.context ? QCoreApplication::translate(m.context, m.id) : QString::fromUtf8(m.id);
    return arg >= 0 ? text.arg(arg) : text;
}
