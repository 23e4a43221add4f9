#include "ui/common/QtTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

#include <memory>

namespace {

// Qt's translation files, best first; Portuguese is often only there as Brazilian.
QStringList TranslationNames(TextArray language)
{
    switch (language) {
    case TextArray::German:
        return {"qtbase_de"};
    case TextArray::French:
        return {"qtbase_fr"};
    case TextArray::Spanish:
        return {"qtbase_es"};
    case TextArray::Italian:
        return {"qtbase_it"};
    case TextArray::Portuguese:
        return {"qtbase_pt_PT", "qtbase_pt", "qtbase_pt_BR"};
    case TextArray::EnglishGB:
    case TextArray::Count:
        break;
    }
    return {};
}

std::unique_ptr<QTranslator>& Installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

void ApplyQtTexts(TextArray language)
{
    std::unique_ptr<QTranslator>& installed = Installed();
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString& name : TranslationNames(language)) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(name, folder)) {
            QCoreApplication::installTranslator(translator.get());
            installed = std::move(translator);
            return;
        }
    }
}
