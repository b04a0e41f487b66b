// The password file: reading and writing the one value, keeping every other byte.

#include "archives/Crypt.h"
#include "archives/PasswordStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString Known = u"5A61B8C7B9638B317A51139E092F"_s;

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestPasswordStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + u'/'; }
    QString file() const { return folder() + QLatin1StringView(PasswordStore::FileName); }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_dir.path()));
    }

    void absentFileReadsEmpty()
    {
        const auto stored = PasswordStore(folder()).readStoredText();
        QVERIFY(stored.has_value());
        QCOMPARE(*stored, QString());
        QCOMPARE(Crypt::decode(*stored), std::optional<QString>(QString()));
        QVERIFY(!QFile::exists(file())); // reading never creates the file
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("stored");

        QTest::newRow("CRLF") << QByteArray("[Accesso]\r\nValore=5A61\r\n") << u"5A61"_s;
        QTest::newRow("names in another case, LF") << QByteArray("[ACCESSO]\nvalore=5A61\n") << u"5A61"_s;
        QTest::newRow("blanks around names and value")
            << QByteArray("  [ Accesso ]\r\n  Valore  =  5A61 \t\r\n") << u"5A61"_s;
        QTest::newRow("same key in another section first")
            << QByteArray("[Altro]\r\nValore=FFFF\r\n[Accesso]\r\nValore=5A61\r\n") << u"5A61"_s;
        QTest::newRow("commented key ignored") << QByteArray("[Accesso]\r\n;Valore=FFFF\r\nValore=5A61") << u"5A61"_s;
        QTest::newRow("first of two keys") << QByteArray("[Accesso]\nValore=5A61\nValore=FFFF\n") << u"5A61"_s;
        QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF[Accesso]\r\nValore=5A61\r\n") << u"5A61"_s;
        QTest::newRow("at most 2047 characters")
            << QByteArray("[Accesso]\nValore=") + QByteArray(3000, 'A') << QString(2047, u'A');
        QTest::newRow("empty value") << QByteArray("[Accesso]\r\nValore=\r\n") << QString();
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("no section") << QByteArray("[Altro]\r\nValore=5A61\r\n") << QString();
        QTest::newRow("no key") << QByteArray("[Accesso]\r\nValori=5A61\r\n") << QString();
        QTest::newRow("key before any section") << QByteArray("Valore=5A61\r\n[Accesso]\r\n") << QString();
        QTest::newRow("section with a longer name") << QByteArray("[Accesso2]\r\nValore=5A61\r\n") << QString();
    }

    void read()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, stored);
        writeAll(file(), content);
        QCOMPARE(PasswordStore(folder()).readStoredText(), std::optional<QString>(stored));
    }

    void readFixture()
    {
        QVERIFY(QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/unins000.dll"), file()));
        const auto stored = PasswordStore(folder()).readStoredText();
        QCOMPARE(stored, std::optional<QString>(Known));
        QCOMPARE(Crypt::decode(*stored), std::optional<QString>(u"VELOCIPEDARIUM"_s));
    }

    void nonHexValueFailsDecode()
    {
        writeAll(file(), "[Accesso]\r\nValore=5A6Z\r\n");
        const auto stored = PasswordStore(folder()).readStoredText();
        QCOMPARE(stored, std::optional<QString>(u"5A6Z"_s));
        QVERIFY(!Crypt::decode(*stored).has_value());
    }

    void unreadableFileIsAFailure()
    {
        // An entry that exists but cannot be read is not an absent password.
        QVERIFY(QDir().mkdir(file()));
        QVERIFY(!PasswordStore(folder()).readStoredText().has_value());
    }

    // The password file is a small settings file: one beyond the limit, or no plain file at all, is
    // a reading failure and is neither read whole nor rewritten.
    void oversizedOrNotAFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("readable");
        QTest::newRow("at the limit") << u"file"_s << PasswordStore::MaxFileSize << true;
        QTest::newRow("one byte beyond") << u"file"_s << PasswordStore::MaxFileSize + 1 << false;
        QTest::newRow("1.5 GiB") << u"file"_s << (qint64(3) << 29) << false;
#ifdef Q_OS_UNIX
        QTest::newRow("a named pipe") << u"pipe"_s << qint64(0) << false;
#endif
    }
    void oversizedOrNotAFile()
    {
        QFETCH(QString, kind);
        QFETCH(qint64, size);
        QFETCH(bool, readable);
        const QByteArray entry = "[Accesso]\r\nValore=5A61\r\n";
        if (kind == u"pipe"_s) {
#ifdef Q_OS_UNIX
            QCOMPARE(::mkfifo(QFile::encodeName(file()).constData(), 0600), 0);
#endif
        } else {
            // The entry first, then blanks up to the size (a sparse file: it takes no room).
            writeAll(file(), entry);
            QFile f(file());
            QVERIFY(f.resize(size));
        }
        const PasswordStore store(folder());
        QCOMPARE(store.readStoredText(), readable ? std::optional<QString>(u"5A61"_s) : std::nullopt);
        if (readable)
            return;
        QVERIFY(!store.writeStoredText(u"AB12"_s));
        QCOMPARE(QFileInfo(file()).size(), size);
        if (kind == u"file"_s) {
            QFile f(file());
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.read(entry.size()), entry);
        }
    }

    void write_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("no file") << false << QByteArray() << QByteArray("[Accesso]\r\nValore=AB12\r\n");
        QTest::newRow("empty file") << true << QByteArray() << QByteArray("[Accesso]\r\nValore=AB12\r\n");
        QTest::newRow("other section, LF, no final line end")
            << true << QByteArray("[Altro]\nk=v") << QByteArray("[Altro]\nk=v\n[Accesso]\nValore=AB12\n");
        QTest::newRow("section without the key")
            << true << QByteArray("[Accesso]\r\n; nota\r\n\r\n[Altro]\r\nk=v\r\n")
            << QByteArray("[Accesso]\r\n; nota\r\nValore=AB12\r\n\r\n[Altro]\r\nk=v\r\n");
        QTest::newRow("section last, no final line end")
            << true << QByteArray("[Accesso]\r\nX=1") << QByteArray("[Accesso]\r\nX=1\r\nValore=AB12");
        QTest::newRow("section last, ending in a lone CR")
            << true << QByteArray("[Accesso]\r\nX=1\r") << QByteArray("[Accesso]\r\nX=1\r\r\nValore=AB12");
        QTest::newRow("key in another case keeps its spelling")
            << true << QByteArray("[accesso]\r\n valore = 5A61 \r\n") << QByteArray("[accesso]\r\n valore =AB12\r\n");
        QTest::newRow("only the first key") << true << QByteArray("[Accesso]\nValore=1\nValore=2\n")
                                            << QByteArray("[Accesso]\nValore=AB12\nValore=2\n");
        QTest::newRow("same key in another section untouched")
            << true << QByteArray("[Altro]\r\nValore=1\r\n[Accesso]\r\nValore=2\r\n")
            << QByteArray("[Altro]\r\nValore=1\r\n[Accesso]\r\nValore=AB12\r\n");
        QTest::newRow("byte order mark kept") << true << QByteArray("\xEF\xBB\xBF[Accesso]\r\nValore=5A61\r\n")
                                              << QByteArray("\xEF\xBB\xBF[Accesso]\r\nValore=AB12\r\n");
    }

    void write()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        if (exists)
            writeAll(file(), before);
        const PasswordStore store(folder());
        QVERIFY(store.writeStoredText(u"AB12"_s));
        QCOMPARE(readAll(file()), after);
        QCOMPARE(store.readStoredText(), std::optional<QString>(u"AB12"_s));
    }

    void writeKeepsEveryOtherByteOfTheFixture()
    {
        QVERIFY(QFile::copy(QStringLiteral(INGRESSARIO_FIXTURES "/unins000.dll"), file()));
        QFile::setPermissions(file(), QFile::ReadOwner | QFile::WriteOwner);
        QByteArray expected = readAll(file());
        const QString scrambled = Crypt::encode(u"NUOVA PAROLA"_s);
        QCOMPARE(expected.count(Known.toLatin1()), 1);
        expected.replace(Known.toLatin1(), scrambled.toLatin1());

        const PasswordStore store(folder());
        QVERIFY(store.writeStoredText(scrambled));
        QCOMPARE(readAll(file()), expected);
        QCOMPARE(Crypt::decode(*store.readStoredText()), std::optional<QString>(u"NUOVA PAROLA"_s));
    }

    void writeFailureReported_data()
    {
        QTest::addColumn<QString>("where");
        QTest::newRow("password file is a folder") << u"folder"_s;
        QTest::newRow("program folder missing") << u"missing"_s;
        QTest::newRow("program folder is a file") << u"file"_s;
    }

    void writeFailureReported()
    {
        QFETCH(QString, where);
        QString programFolder = folder();
        if (where == u"folder")
            QVERIFY(QDir().mkdir(file()));
        else if (where == u"missing")
            programFolder += u"missing/"_s;
        else {
            writeAll(folder() + u"plain"_s, "x");
            programFolder += u"plain/"_s;
        }
        QVERIFY(!PasswordStore(programFolder).writeStoredText(u"AB12"_s));
        QCOMPARE(QFileInfo(file()).isDir(), where == u"folder");
        QVERIFY(!QFile::exists(folder() + u"missing"_s));
        // Nothing else was left behind, not even a half-written temporary file.
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(),
                 1 - (where == u"missing"));
    }
};

QTEST_GUILESS_MAIN(TestPasswordStore)
#include "tst_PasswordStore.moc"
