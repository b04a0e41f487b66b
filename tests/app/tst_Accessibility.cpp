// What a screen reader meets in every window of the program: the accessibility tree walked from
// each window of the window set (the companions included, one instance each), as a reader walks it
// through the windows' accessible interfaces. Every control an operator acts on is in the tree
// with a name a person can understand; layout panels and decorative pictures are not in it; each
// picture command tells its status hint as its description.

#include "app/WindowSet.h"
#include "shell/PictureButton.h"
#include "shell/ScreenKit.h"
#include "tests/support/ScriptedSeams.h"
#include "tests/support/Spoken.h"

#include <QAccessible>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The roles of the controls an operator acts on.
bool interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Link:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

// Lines of lists and cells of tables are values, read as such: the walk stops at their control.
bool holdsValues(QAccessible::Role role)
{
    return role == QAccessible::List || role == QAccessible::Table || role == QAccessible::Tree;
}

// Where a control sits, by the object names of its widgets: "TfrmRitiri/grpDataRit/txtGiornoRit".
QString pathOf(const QObject* object)
{
    QStringList parts;
    for (const QObject* o = object; o; o = o->parent()) {
        parts.prepend(o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName());
        if (o->isWidgetType() && static_cast<const QWidget*>(o)->isWindow())
            break;
    }
    return parts.join(u'/');
}

// A name that is one of the program's internal control names rather than words.
bool internalName(const QString& name, const QObject* object)
{
    static const QRegularExpression prefixed(
        u"^(txt|cmd|btn|img|ico|imp|lbl|lst|grd|chk|pan|shp|eff|lnk|sfo|bkg|grp|tit)[A-Z0-9]"_s);
    return name == object->objectName() || prefixed.match(name).hasMatch();
}

struct Walk
{
    QList<QAccessibleInterface*> met;
    QSet<const QObject*> objects;
};

void walk(QAccessibleInterface* node, Walk& w, int depth = 0)
{
    if (!node || depth > 60)
        return;
    w.met << node;
    if (node->object())
        w.objects.insert(node->object());
    if (holdsValues(node->role()))
        return;
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), w, depth + 1);
}

Walk walkWindow(QWidget* window)
{
    Walk w;
    walk(QAccessible::queryAccessibleInterface(window), w);
    return w;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyControlIsNamed_data();
    void everyControlIsNamed();
    void decorationsAreOutOfTheTree_data();
    void decorationsAreOutOfTheTree();
    void pictureCommandsDescribeTheirHint_data();
    void pictureCommandsDescribeTheirHint();

private:
    QWidget* windowOfClass(const QString& className) const;
    void windowRows() const;

    std::unique_ptr<TestContext> m_t;
    std::unique_ptr<WindowSet> m_set;
};

void TestAccessibility::initTestCase()
{
    m_t = std::make_unique<TestContext>();
    m_set = std::make_unique<WindowSet>(m_t->ctx);
    QVERIFY(!m_set->windows().isEmpty());
}

void TestAccessibility::cleanupTestCase()
{
    m_set.reset();
    m_t.reset();
}

QWidget* TestAccessibility::windowOfClass(const QString& className) const
{
    for (QWidget* w : m_set->windows())
        if (QString::fromLatin1(w->metaObject()->className()) == className)
            return w;
    return nullptr;
}

// One row per window of the set, by its class.
void TestAccessibility::windowRows() const
{
    QTest::addColumn<QString>("window");
    for (QWidget* w : m_set->windows()) {
        const QString cls = QString::fromLatin1(w->metaObject()->className());
        QTest::newRow(qPrintable(cls)) << cls;
    }
}

void TestAccessibility::everyControlIsNamed_data()
{
    windowRows();
}

// Every control in the tree has a name that is words, not empty, not an internal control name
// and, for a drop-down, not its changing value; and no control of the window is missing from the tree (a panel taken
// out of the tree hands its controls to the panel above it).
void TestAccessibility::everyControlIsNamed()
{
    QFETCH(QString, window);
    QWidget* frm = windowOfClass(window);
    QVERIFY(frm);
    const Walk w = walkWindow(frm);
    QVERIFY(!w.met.isEmpty());

    QStringList faults;
    for (QAccessibleInterface* node : w.met) {
        if (!interactive(node->role()))
            continue;
        const QString name = node->text(QAccessible::Name).trimmed();
        QObject* object = node->object();
        const QString where = object ? pathOf(object) : u"(no object)"_s;
        if (name.isEmpty())
            faults << where + u": no name"_s;
        else if (object && internalName(name, object))
            faults << where + u": named \""_s + name + u'"';
        else if (node->role() == QAccessible::ComboBox && name == node->text(QAccessible::Value))
            faults << where + u": named by its value \""_s + name + u'"';
    }
    for (QWidget* child : frm->findChildren<QWidget*>()) {
        if (child->window() != frm)
            continue;
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(child);
        if (!node || !interactive(node->role()) || w.objects.contains(child))
            continue;
        // Controls that a list or a table keeps inside itself are its own business.
        bool insideValues = false;
        for (QWidget* up = child->parentWidget(); up && up != frm; up = up->parentWidget())
            if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(up); a && holdsValues(a->role()))
                insideValues = true;
        if (!insideValues)
            faults << pathOf(child) + u": not in the tree"_s;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(u"\n"_s + faults.join(u'\n')));
}

void TestAccessibility::decorationsAreOutOfTheTree_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    const QString editor = u"TfrmSchedario_Chiavi"_s;
    for (const QString& name : {u"panContainer"_s, u"panToolbar"_s, u"shpScheda"_s, u"panStrip"_s, u"imgNote"_s,
                                u"imgChiave1"_s, u"imgChiave2"_s})
        QTest::newRow(qPrintable(editor + u' ' + name)) << editor << name;
    for (const QString& screen : {u"TfrmRitiri"_s, u"TfrmRiconsegne"_s})
        for (const QString& name : {u"panContainer"_s, u"panStrip"_s, u"imgPass"_s})
            QTest::newRow(qPrintable(screen + u' ' + name)) << screen << name;
    QTest::newRow("TfrmExpChiavi icoHand") << u"TfrmExpChiavi"_s << u"icoHand"_s;
    QTest::newRow("TfrmRiepilogo icoHand") << u"TfrmRiepilogo"_s << u"icoHand"_s;
}

void TestAccessibility::decorationsAreOutOfTheTree()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QWidget* frm = windowOfClass(window);
    QVERIFY(frm);
    auto* decoration = frm->findChild<QWidget*>(control);
    QVERIFY(decoration);
    const Walk w = walkWindow(frm);
    QVERIFY2(!w.objects.contains(decoration), qPrintable(pathOf(decoration) + u" is in the tree"_s));
    // What the panel holds is still there, one level up.
    for (QWidget* inside : decoration->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(inside);
        if (node && interactive(node->role()))
            QVERIFY2(w.objects.contains(inside), qPrintable(pathOf(inside) + u" is not in the tree"_s));
    }
}

void TestAccessibility::pictureCommandsDescribeTheirHint_data()
{
    QTest::addColumn<QString>("window");
    for (QWidget* w : m_set->windows())
        if (w->findChild<ScreenKit::StatusLine*>()) {
            const QString cls = QString::fromLatin1(w->metaObject()->className());
            QTest::newRow(qPrintable(cls)) << cls;
        }
}

// A reader tells a picture command's status hint as its description, the text a mouse user reads
// in the status line when pointing at it.
void TestAccessibility::pictureCommandsDescribeTheirHint()
{
    QFETCH(QString, window);
    QWidget* frm = windowOfClass(window);
    QVERIFY(frm);
    const auto* status = frm->findChild<ScreenKit::StatusLine*>();
    QVERIFY(status);
    QStringList faults;
    int hinted = 0;
    for (PictureButton* command : frm->findChildren<PictureButton*>()) {
        const QString hint = status->hintOf(command);
        if (hint.isEmpty())
            continue;
        ++hinted;
        if (Spoken::description(command) != hint)
            faults << pathOf(command) + u": \""_s + Spoken::description(command) + u"\" instead of \""_s + hint + u'"';
    }
    QVERIFY2(hinted > 0, "no hinted picture command");
    QVERIFY2(faults.isEmpty(), qPrintable(u"\n"_s + faults.join(u'\n')));
}

QTEST_MAIN(TestAccessibility)
#include "tst_Accessibility.moc"
