#include "toolkit/StdFont.h"

#include "toolkit/Twips.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

namespace toolkit {

// The text with each CR LF pair and each lone CR made one LF, the one line break that Qt's
// measures know.
static QString withLineFeeds(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

QFont ToQFont(const StdFont& font) {
    QFont f(font.Name);
    // Points are mapped at 96 per inch, the resolution that makes a pixel 15
    // twips, so that measured text and the twip layout agree on every screen.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 0.0;
    const double pt = static_cast<double>(font.Size) * 96.0 / (dpi > 0.0 ? dpi : 96.0);
    f.setPointSizeF(pt > 0.0 ? pt : 1.0);
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    f.setStrikeOut(font.Strikethrough);
    return f;
}

StdFont DefaultFont() {
    const QFont app = QApplication::font();
    return {.Name = app.family(),
            .Size = app.pointSizeF() > 0 ? static_cast<float>(app.pointSizeF()) : 9.0f};
}

float MeasureTextWidth(const StdFont& font, const QString& text) {
    const QFontMetricsF fm(ToQFont(font));
    qreal widest = 0;
    for (const QString& line : withLineFeeds(text).split(u'\n'))
        widest = std::max(widest, fm.horizontalAdvance(line));
    return PixelsToTwips(widest);
}

float MeasureTextHeight(const StdFont& font, const QString& text) {
    const QFontMetricsF fm(ToQFont(font));
    const auto lines = withLineFeeds(text).split(u'\n').size();
    return PixelsToTwips(fm.height() + static_cast<qreal>(lines - 1) * fm.lineSpacing());
}

void RegisterFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                                QStringLiteral("VL PGothic"), QStringLiteral("Sans Serif")});
}

} // namespace toolkit
