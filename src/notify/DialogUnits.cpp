#include "DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

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

int DialogUnits::toPixelsX(int dialogX) const
{
    return mulDiv(dialogX, m_baseX, 4);
}

int DialogUnits::toPixelsY(int dialogY) const
{
    return mulDiv(dialogY, m_baseY, 8);
}

QSize DialogUnits::toPixels(const QSize &dialogSize) const
{
    return {toPixelsX(dialogSize.width()), toPixelsY(dialogSize.height())};
}

QRect DialogUnits::toPixels(const QRect &dialogRect) const
{
    return {toPixelsX(dialogRect.x()), toPixelsY(dialogRect.y()), toPixelsX(dialogRect.width()),
        toPixelsY(dialogRect.height())};
}

QFont DialogUnits::templateFont(const QString &family, int pointSize)
{
    QFont font(QFontDatabase::hasFamily(family) ? family : kFallbackFamily, pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
