#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sorvane::ui {

namespace {

// The print dialog's texts that Qt's Japanese translation lacks (its duplex group and the
// printer properties' CUPS tab), and the page range said in the calendar's terms: its pages
// are the months of the year.
class PrintDialogJapanese : public QTranslator {
  public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        static const struct {
            const char* context;
            const char* source;
            const char* japanese;
        } texts[] = {
            {"QPrintSettingsOutput", "Double Sided Printing", "両面印刷"},
            {"QPrintSettingsOutput", "Off", "しない"},
            {"QPrintSettingsOutput", "Long side binding", "長辺綴じ"},
            {"QPrintSettingsOutput", "Short side binding", "短辺綴じ"},
            {"QPrintSettingsOutput", "Pages", "月（ページ 1〜12 が 1〜12月）"},
            {"QPrintSettingsOutput", "Current Page", "表示中の月"},
            {"QPrintSettingsOutput", "Print all", "1年分（12ページ）"},
            {"QPrintPropertiesWidget", "Advanced", "詳細設定"},
        };
        for (const auto& text : texts) {
            if (qstrcmp(context, text.context) == 0 && qstrcmp(sourceText, text.source) == 0) {
                return QString::fromUtf8(text.japanese);
            }
        }
        return {};
    }
};

} // namespace

bool installQtJapanese(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    // Installed last, so asked first.
    QCoreApplication::installTranslator(new PrintDialogJapanese(&app));
    return true;
}

} // namespace sorvane::ui
