// The look unit: the style sheet and the palette agree, and a variant given to a widget of a styled
// window takes its rule.

#include "shell/Look.h"

#include <QFile>
#include <QGroupBox>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QSet>
#include <QVBoxLayout>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestLook : public QObject
{
    Q_OBJECT

private slots:
    void styleSheetNamesColoursByRoleOnly();
    void everyKindHasARule();
    void kindGivenAfterCreationTakesItsRule();
};

namespace {

QString resourceText()
{
    QFile file(u":/look.qss"_s);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QSet<QString> matches(const QString& text, const QString& pattern)
{
    QSet<QString> out;
    for (const QRegularExpressionMatch& m : QRegularExpression(pattern).globalMatch(text))
        out << m.captured(1);
    return out;
}

} // namespace

void TestLook::styleSheetNamesColoursByRoleOnly()
{
    const QString raw = resourceText();
    QVERIFY(!raw.isEmpty());
    // The colour values live in the palette alone.
    QCOMPARE(matches(raw, u"(#[0-9a-fA-F]{3,8})\\b"_s), QSet<QString>());
    QCOMPARE(matches(raw, u"\\b(rgba?)\\("_s), QSet<QString>());

    // Every colour the sheet names is a role, and each is filled in.
    const QSet<QString> named = matches(raw, u"@([A-Za-z]+)"_s);
    QVERIFY(named.contains(u"SheetEdge"_s));
    const QMetaEnum roles = QMetaEnum::fromType<Look::Role>();
    for (const QString& name : named)
        QVERIFY2(roles.keyToValue(name.toLatin1().constData()) >= 0, qPrintable(name));
    const QString sheet = Look::styleSheet();
    QVERIFY(!sheet.contains(u'@'));
    QVERIFY(sheet.contains(Look::color(Look::Role::SheetEdge).name()));
    QVERIFY(sheet.contains(u"rgba(255, 255, 255, 200)"_s)); // the period frames, seen through
}

void TestLook::everyKindHasARule()
{
    const QSet<QString> used = matches(resourceText(), uR"re(\[look="(\w+)"\])re"_s);
    QSet<QString> kinds;
    const QMetaEnum meta = QMetaEnum::fromType<Look::Kind>();
    for (int i = 0; i < meta.keyCount(); ++i)
        kinds << QString::fromLatin1(meta.key(i));
    QCOMPARE(used, kinds);
}

void TestLook::kindGivenAfterCreationTakesItsRule()
{
    // A group box measures its frame from the style as it is made, before it has a variant; with
    // the variant it must measure it as one that enters the styled window already holding it.
    QWidget window;
    Look::applyStyleSheet(&window);
    auto* column = new QVBoxLayout(&window);
    auto* plain = new QGroupBox(u"Data"_s, &window);
    auto* period = new QGroupBox(u"Data"_s, &window);
    Look::setKind(period, Look::Kind::PeriodGroup);
    auto* entering = new QGroupBox(u"Data"_s);
    Look::setKind(entering, Look::Kind::PeriodGroup);
    entering->setParent(&window);
    for (QGroupBox* group : {plain, period, entering}) {
        auto* inside = new QVBoxLayout(group);
        inside->addWidget(new QWidget(group));
        column->addWidget(group);
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(period->contentsMargins(), entering->contentsMargins());
    // The rule's padding is in them.
    QVERIFY(period->contentsMargins().left() > plain->contentsMargins().left());
    QVERIFY(period->contentsMargins().top() > plain->contentsMargins().top());
}

QTEST_MAIN(TestLook)
#include "tst_Look.moc"
