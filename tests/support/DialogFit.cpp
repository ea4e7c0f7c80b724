#include "DialogFit.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QtEndian>

#include <algorithm>

#include <gtest/gtest.h>

namespace DialogFit {

namespace {

constexpr auto kOnlyFamilyVariable = "TICKWELL_TEST_ONLY_JAPANESE_FAMILY";

// The Japanese fonts scripts/install-deps installs, by package.
struct JapaneseFont
{
    const char *package;
    const char *family;
};
constexpr JapaneseFont kFonts[] = {
    {"fonts-ipafont-gothic", "IPAPGothic"},
    {"fonts-noto-cjk", "Noto Sans CJK JP"},
    {"fonts-vlgothic", "VL PGothic"},
    {"fonts-takao-gothic", "TakaoPGothic"},
};

QString name(const QWidget &widget)
{
    return widget.objectName().isEmpty() ? QString::fromLatin1(widget.metaObject()->className())
                                         : widget.objectName();
}

// Text beside a check box or radio button indicator: the area the style
// leaves right of the indicator and its spacing.
QRect buttonTextArea(const QAbstractButton &button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const bool radio = qobject_cast<const QRadioButton *>(&button) != nullptr;
    return button.style()->subElementRect(
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents, &option, &button);
}

QString textFault(const QWidget &widget)
{
    const QFontMetrics metrics(widget.font());
    const auto tooSmall = [](const QSize &needed, const QSize &given) {
        return needed.width() > given.width() || needed.height() > given.height()
            ? QStringLiteral("needs %1x%2, has %3x%4")
                  .arg(needed.width())
                  .arg(needed.height())
                  .arg(given.width())
                  .arg(given.height())
            : QString();
    };
    if (const auto *label = qobject_cast<const QLabel *>(&widget)) {
        if (label->text().isEmpty())
            return {};
        const QRect area = label->contentsRect();
        if (label->wordWrap()) {
            const QRect needed = metrics.boundingRect(
                QRect(0, 0, area.width(), 10000), Qt::TextWordWrap | Qt::AlignLeft, label->text());
            return tooSmall(needed.size(), area.size());
        }
        return tooSmall(QSize(metrics.horizontalAdvance(label->text()), metrics.height()), area.size());
    }
    if (const auto *button = qobject_cast<const QPushButton *>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return tooSmall(QSize(metrics.horizontalAdvance(button->text()), metrics.height()), area.size());
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget)) {
        const QRect area = buttonTextArea(*button);
        // A check box that wraps its text may take several lines.
        const QRect text = button->inherits("WrappingCheckBox")
            ? metrics.boundingRect(QRect(0, 0, area.width(), 10000), Qt::TextWordWrap, button->text())
            : QRect(0, 0, metrics.horizontalAdvance(button->text()), metrics.height());
        return tooSmall(text.size(), area.size());
    }
    if (const auto *group = qobject_cast<const QGroupBox *>(&widget))
        return tooSmall(QSize(metrics.horizontalAdvance(group->title()), metrics.height()), group->size());
    if (const auto *edit = qobject_cast<const QLineEdit *>(&widget)) {
        // The text's whole height inside the frame.
        const int frame = edit->hasFrame() ? 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        return tooSmall(QSize(0, metrics.height() + frame), edit->size());
    }
    if (const auto *combo = qobject_cast<const QComboBox *>(&widget))
        return tooSmall(combo->minimumSizeHint(), combo->size());
    if (const auto *tabs = qobject_cast<const QTabWidget *>(&widget))
        return tooSmall(QSize(tabs->tabBar()->sizeHint().width(), 0), tabs->size());
    return {};
}

QString calendarFault(const QCalendarWidget &calendar)
{
    const auto *view = calendar.findChild<QTableView *>(QStringLiteral("qt_calendar_calendarview"));
    if (!view)
        return QStringLiteral("no day table");
    const QRect shown = view->viewport()->rect();
    const QFontMetrics metrics(view->font());
    int columns = 0;
    for (int column = 0; column < 7; ++column) {
        const int left = view->columnViewportPosition(column);
        const int width = view->columnWidth(column);
        if (left >= 0 && left + width <= shown.width() && width >= metrics.horizontalAdvance(QStringLiteral("30")))
            ++columns;
    }
    // The header row and six weeks.
    int rows = 0;
    for (int row = 0; row < 7; ++row) {
        const int top = view->rowViewportPosition(row);
        const int height = view->rowHeight(row);
        if (top >= 0 && top + height <= shown.height() && height >= metrics.height())
            ++rows;
    }
    if (columns == 7 && rows == 7)
        return {};
    return QStringLiteral("shows %1 of 7 columns and %2 of 7 rows whole").arg(columns).arg(rows);
}

// The line spacing in the font's horizontal header (hhea), in pixels; 0 when
// it has none.
qreal headerLineSpacing(const QFont &font)
{
    const QRawFont raw = QRawFont::fromFont(font);
    const QByteArray hhea = raw.fontTable("hhea");
    if (!raw.isValid() || raw.unitsPerEm() <= 0 || hhea.size() < 10)
        return 0;
    const auto *data = reinterpret_cast<const uchar *>(hhea.constData());
    const int ascender = qFromBigEndian<qint16>(data + 4);
    const int descender = qFromBigEndian<qint16>(data + 6);
    const int lineGap = qFromBigEndian<qint16>(data + 8);
    return (ascender - descender + lineGap) * raw.pixelSize() / raw.unitsPerEm();
}

bool holds(const QRect &outer, const QRect &inner)
{
    return outer.contains(inner);
}

} // namespace

QStringList faults(const QWidget &dialog)
{
    QList<const QWidget *> shown;
    for (const QWidget *child : dialog.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisibleTo(&dialog))
            shown << child;
    }
    QStringList found;
    const QRect inside(QPoint(0, 0), dialog.size());
    for (const QWidget *widget : shown) {
        QString fault = textFault(*widget);
        if (const auto *calendar = qobject_cast<const QCalendarWidget *>(widget))
            fault = calendarFault(*calendar);
        if (const auto *box = qobject_cast<const QTextEdit *>(widget))
            fault = textBoxFault(*box);
        if (!fault.isEmpty())
            found << name(*widget) + QStringLiteral(": ") + fault;
        if (!inside.contains(widget->geometry()))
            found << name(*widget) + QStringLiteral(": outside the dialog");
    }
    for (qsizetype i = 0; i < shown.size(); ++i) {
        for (qsizetype j = i + 1; j < shown.size(); ++j) {
            const QRect a = shown[i]->geometry();
            const QRect b = shown[j]->geometry();
            if (a.intersects(b) && !holds(a, b) && !holds(b, a))
                found << name(*shown[i]) + QStringLiteral(" overlaps ") + name(*shown[j]);
        }
    }
    return found;
}

QString textBoxFault(const QTextEdit &box)
{
    const QTextDocument *document = box.document();
    if (document->isEmpty())
        return {};
    // Each line of the document where the box's viewport shows it.
    const int shownTop = box.verticalScrollBar()->value();
    const int shownHeight = box.viewport()->height();
    QList<QRectF> lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QPointF blockAt = document->documentLayout()->blockBoundingRect(block).topLeft();
        const QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i)
            lines << layout->lineAt(i).rect().translated(blockAt).translated(0, -shownTop);
    }
    int whole = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRectF &line = lines[i];
        // A pixel's rounding either way is no cut.
        const bool inside = line.top() > -0.5 && line.bottom() < shownHeight + 0.5;
        const bool outside = line.bottom() <= 0.5 || line.top() >= shownHeight - 0.5;
        if (inside)
            ++whole;
        else if (!outside)
            return QStringLiteral("shows line %1 cut: %2 to %3 of a view 0 to %4 high")
                .arg(i + 1)
                .arg(line.top(), 0, 'f', 1)
                .arg(line.bottom(), 0, 'f', 1)
                .arg(shownHeight);
    }
    if (whole == 0)
        return QStringLiteral("shows no line whole in a view %1 high").arg(shownHeight);
    const qreal wanted = std::max(QFontMetricsF(box.font()).lineSpacing(), headerLineSpacing(box.font()));
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qreal pitch = lines[i].top() - lines[i - 1].top();
        if (pitch < wanted - 0.5)
            return QStringLiteral("lines %1 and %2 are %3 px apart, the font's line spacing is %4 px")
                .arg(i)
                .arg(i + 1)
                .arg(pitch, 0, 'f', 1)
                .arg(wanted, 0, 'f', 1);
    }
    return {};
}

QString japaneseFamily(const QFont &font)
{
    QTextLayout layout(QStringLiteral("設定"), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    return runs.isEmpty() ? QString() : runs.first().rawFont().familyName();
}

QString onlyJapaneseFamily()
{
    return qEnvironmentVariable(kOnlyFamilyVariable);
}

bool isTheOneJapaneseFamily(const QFont &font)
{
    const QString family = onlyJapaneseFamily();
    return family == QLatin1String(kSystemFonts) || japaneseFamily(font) == family;
}

namespace {

// Runs the test in a child process with the environment given, and fails
// unless it passes.
void expectChildPasses(const char *testName, const QProcessEnvironment &environment)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_filter=") + QString::fromLatin1(testName)});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

} // namespace

void expectPassesUnderEachJapaneseFont(const char *testName)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
#ifdef Q_OS_WIN
    // Windows (and Wine) find their fonts themselves, and fontconfig hides
    // none of them: the test runs once, with what the system gives.
    environment.insert(QString::fromLatin1(kOnlyFamilyVariable), QString::fromLatin1(kSystemFonts));
    expectChildPasses(testName, environment);
    return;
#endif
    for (const JapaneseFont &font : kFonts) {
        SCOPED_TRACE(font.family);
        const QString family = QString::fromUtf8(font.family);
        EXPECT_TRUE(QFontDatabase::hasFamily(family)) << "scripts/install-deps installs " << font.package;
        QTemporaryDir folder;
        ASSERT_TRUE(folder.isValid());
        // The system's configuration, less every font for Japanese but this one.
        const QString config = folder.filePath(QStringLiteral("fonts.conf"));
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <include ignore_missing="no">/etc/fonts/fonts.conf</include>
  <selectfont>
    <acceptfont><pattern><patelt name="family"><string>%1</string></patelt></pattern></acceptfont>
    <rejectfont><pattern><patelt name="lang"><string>ja</string></patelt></pattern></rejectfont>
  </selectfont>
</fontconfig>
)")
                       .arg(family)
                       .toUtf8());
        file.close();

        environment.insert(QStringLiteral("FONTCONFIG_FILE"), config);
        environment.insert(QString::fromLatin1(kOnlyFamilyVariable), family);
        expectChildPasses(testName, environment);
    }
}

} // namespace DialogFit
