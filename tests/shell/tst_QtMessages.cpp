// The program's message boxes answered as an operator answers them: by keys and clicks on the
// real box.
#include "shell/QtSeams.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `answer` on the box once it is the active modal window.
void whenTheBoxShows(const std::function<void(QMessageBox*)>& answer)
{
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        answer(box);
    });
    poll->start();
}

} // namespace

class tst_QtMessages : public QObject
{
    Q_OBJECT

private slots:
    void questionWithCancel_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("answer");
        QTest::newRow("Enter takes Yes") << u"Return"_s << int(Messages::Answer::Yes);
        QTest::newRow("Escape is Cancel") << u"Escape"_s << int(Messages::Answer::Cancel);
        QTest::newRow("a click on No") << u"No"_s << int(Messages::Answer::No);
        QTest::newRow("a click on Cancel") << u"Cancel"_s << int(Messages::Answer::Cancel);
    }

    void questionWithCancel()
    {
        QFETCH(QString, input);
        QFETCH(int, answer);
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowActive(&owner));
        QString shownText;
        whenTheBoxShows([&](QMessageBox* box) {
            shownText = box->text();
            if (input == u"Return"_s)
                QTest::keyClick(box, Qt::Key_Return);
            else if (input == u"Escape"_s)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                QTest::mouseClick(box->button(input == u"No"_s ? QMessageBox::No : QMessageBox::Cancel),
                                  Qt::LeftButton);
        });
        QtMessages boxes;
        QCOMPARE(int(boxes.questionWithCancel(&owner, u"Salvare le modifiche alla scheda?"_s)), answer);
        QCOMPARE(shownText, u"Salvare le modifiche alla scheda?"_s);
    }
};

QTEST_MAIN(tst_QtMessages)
#include "tst_QtMessages.moc"
