#include "DialogUnits.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QRawFont>
#include <QString>
#include <QTextLayout>

namespace {

// a * b / c rounded half away from zero, as MulDiv does.
int mulDiv(int a, int b, int c)
{
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    const long long rounded = product >= 0 ? (product + half) / c : (product - half) / c;
    return static_cast<int>(rounded);
}

const QString kFallbackFamily = QStringLiteral("Noto Sans CJK JP");

// The family whose glyphs Japanese text in font is drawn with: font's own,
// or the one fontconfig falls back to for it; empty when none has them.
QString japaneseGlyphFamily(const QFont &font)
{
    QTextLayout layout(QStringLiteral("設定"), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : runs.first().rawFont().familyName();
}

QFont sansFont(const QString &family, int pointSize)
{
    QFont font(family, pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

DialogUnits::DialogUnits(const QFont &font)
{
    const QFontMetrics metrics(font);
    const int letters
        = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseX = (letters / 26 + 1) / 2;
    m_baseY = metrics.height();
}

DialogUnits::DialogUnits(int baseX, int baseY)
    : m_baseX(baseX)
    , m_baseY(baseY)
{
}

DialogUnits DialogUnits::stretched(int perMilleX, int perMilleY) const
{
    DialogUnits units(m_baseX, m_baseY);
    units.m_stretchX = perMilleX;
    units.m_stretchY = perMilleY;
    return units;
}

// Unstretched this is exactly MulDiv(dialogX, baseX, 4).
int DialogUnits::toPixelsX(int dialogX) const
{
    return mulDiv(dialogX, m_baseX * m_stretchX, 4 * 1000);
}

int DialogUnits::toPixelsY(int dialogY) const
{
    return mulDiv(dialogY, m_baseY * m_stretchY, 8 * 1000);
}

QSize DialogUnits::toPixels(const QSize &dialogSize) const
{
    return {toPixelsX(dialogSize.width()), toPixelsY(dialogSize.height())};
}

QRect DialogUnits::toPixels(const QRect &dialogRect) const
{
    // Stretched units convert the far edges instead: rounded on their own,
    // a width could reach a pixel into a control that touches it.
    if (m_stretchX != 1000 || m_stretchY != 1000) {
        const int left = toPixelsX(dialogRect.x());
        const int top = toPixelsY(dialogRect.y());
        return {left, top, toPixelsX(dialogRect.x() + dialogRect.width()) - left,
            toPixelsY(dialogRect.y() + dialogRect.height()) - top};
    }
    return {toPixelsX(dialogRect.x()), toPixelsY(dialogRect.y()), toPixelsX(dialogRect.width()),
        toPixelsY(dialogRect.height())};
}

QFont DialogUnits::templateFont(const QString &family, int pointSize)
{
    // A font that draws no Japanese counts as missing: Windows has "MS Shell
    // Dlg" everywhere, but only a Japanese Windows makes it a Japanese font.
    if (QFontDatabase::hasFamily(family)) {
        QFont font = sansFont(family, pointSize);
        if (japaneseGlyphFamily(font) == QFontInfo(font).family())
            return font;
    }
    if (QFontDatabase::hasFamily(kFallbackFamily))
        return sansFont(kFallbackFamily, pointSize);
    // Asked for a family it lacks, Qt takes a Latin font and draws Japanese
    // from another; the dialog takes that other font whole.
    const QFont asked = sansFont(family, pointSize);
    const QString japanese = japaneseGlyphFamily(asked);
    if (japanese.isEmpty())
        return asked;
    return sansFont(japanese, pointSize);
}
