// The guide texts: five pages, their titles, their paragraphs and how they are joined.

#include "shell/GuidePages.h"

#include <QtTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(GuideTopic)

class TestGuidePages : public QObject
{
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
    void generalPageHoldsTheWorkAreaPagesWordForWord();
    void textJoinsParagraphsWithTwoLineBreaks();
    void summarisedParagraphsKeepTheirOpening_data();
    void summarisedParagraphsKeepTheirOpening();
    void firstAccessPasswordIsTold();
};

void TestGuidePages::pages_data()
{
    QTest::addColumn<GuideTopic>("topic");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("paragraphs");
    QTest::newRow("export") << GuideTopic::Export << u"Esportazione schedario pass in Excel"_s << 3;
    QTest::newRow("history") << GuideTopic::History << u"App Storico Operazioni"_s << 4;
    QTest::newRow("card file") << GuideTopic::CardFile << u"App Schedario Pass"_s << 8;
    QTest::newRow("operations") << GuideTopic::Operations << u"App Ritiri e Riconsegne"_s << 8;
    QTest::newRow("general") << GuideTopic::General << u"Uno sguardo a Ingressario"_s << 26;
}

void TestGuidePages::pages()
{
    QFETCH(GuideTopic, topic);
    QFETCH(QString, title);
    QFETCH(int, paragraphs);
    const GuidePage& page = GuidePages::page(topic);
    QCOMPARE(page.title, title);
    QCOMPARE(page.paragraphs.size(), paragraphs);
    for (const QString& paragraph : page.paragraphs) {
        // A paragraph is one run of text: no line breaks of its own, no blanks around it, a full stop.
        QVERIFY2(!paragraph.contains(u'\r') && !paragraph.contains(u'\n'), qPrintable(paragraph));
        QCOMPARE(paragraph, paragraph.trimmed());
        QVERIFY2(paragraph.endsWith(u'.'), qPrintable(paragraph));
    }
    QVERIFY(GuidePages::printedOrder().contains(topic));
}

void TestGuidePages::generalPageHoldsTheWorkAreaPagesWordForWord()
{
    const QStringList general = GuidePages::page(GuideTopic::General).paragraphs;
    QCOMPARE(general.mid(2, 8), GuidePages::page(GuideTopic::CardFile).paragraphs);
    QCOMPARE(general.mid(10, 8), GuidePages::page(GuideTopic::Operations).paragraphs);
    QCOMPARE(general.mid(18, 4), GuidePages::page(GuideTopic::History).paragraphs);
    // And as the window shows it: each page's text lies whole inside the general text.
    const QString text = GuidePages::page(GuideTopic::General).text();
    for (GuideTopic inner : {GuideTopic::CardFile, GuideTopic::Operations, GuideTopic::History})
        QVERIFY(text.contains(GuidePages::page(inner).text()));
    QVERIFY(!text.contains(GuidePages::page(GuideTopic::Export).paragraphs.first()));
}

void TestGuidePages::textJoinsParagraphsWithTwoLineBreaks()
{
    const GuidePage& page = GuidePages::page(GuideTopic::Export);
    const QString text = page.text();
    QCOMPARE(text.split(u"\r\n\r\n"_s), page.paragraphs);
    QVERIFY(!text.startsWith(u'\r') && !text.endsWith(u'\n'));
    QCOMPARE(text.count(u"\r\n"_s), 2 * (page.paragraphs.size() - 1));
    const GuidePage single{u"T"_s, {u"solo"_s}};
    QCOMPARE(single.text(), u"solo"_s);
}

void TestGuidePages::summarisedParagraphsKeepTheirOpening_data()
{
    QTest::addColumn<GuideTopic>("topic");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("opening");
    QTest::addColumn<QString>("alsoSays"); // a word the written-out rest must contain
    const auto card = GuideTopic::CardFile;
    const auto ops = GuideTopic::Operations;
    const auto general = GuideTopic::General;
    QTest::newRow("card 1")
        << card << 0
        << u"L'app Schedario Pass è l'ambiente in cui vanno forniti i dettagli di tutti i pass della "
           u"propria azienda che i visitatori o altre persone autorizzate avranno bisogno di ritirare "
           u"e di riconsegnare. "_s
        << u"responsabile"_s;
    QTest::newRow("card 2")
        << card << 1
        << u"Per inserire in archivio la scheda di un nuovo pass, bisogna premere il pulsante Nuovo "
           u"(icona del foglio bianco), compilare i campi di testo che interessano e premere Salva "
           u"(icona del dischetto floppy). "_s
        << u"frecce"_s;
    QTest::newRow("card 3")
        << card << 2
        << u"La funzione Duplica è particolarmente utile se si ha bisogno di registrare diversi pass "
           u"con caratteristiche simili, ad esempio quelli che autorizzano l'accesso a uffici della "
           u"stessa area della struttura, quelli assegnati allo stesso responsabile e così via. "_s
        << u"fogli sovrapposti"_s;
    QTest::newRow("card 4") << card << 3
                            << u"Il campo \"Stato attuale\" è di sola lettura e si aggiorna automaticamente quando si "
                               u"registra il ritiro di un pass utilizzando l'apposita funzione. "_s
                            << u"\"Disponibile\""_s;
    QTest::newRow("card 5") << card << 4
                            << u"Il pulsante Allega file permette di associare alla scheda di ciascun pass fino a tre "
                               u"file da richiamare velocemente con un clic. "_s
                            << u"ad esempio"_s;
    QTest::newRow("card 6")
        << card << 5
        << u"Il pulsante Trova (icona della lente di ingrandimento) consente di effettuare ricerche "
           u"avanzate in archivio funzionanti anche con chiave parziale, ossia indicando una o più "
           u"parole consecutive contenute nei campi di testo. "_s
        << u"stampato"_s;
    QTest::newRow("card 7") << card << 6 << u"Se il pass è stato smarrito, è necessario spuntare l'apposita casella. "_s
                            << u"triangolo giallo"_s;
    QTest::newRow("ops 1")
        << ops << 0
        << u"L'app Ritiri e Riconsegne mette a disposizione due ambienti di lavoro quasi identici in "
           u"cui è possibile registrare in modo rapido e preciso il ritiro e la riconsegna dei pass, "
           u"associando ogni operazione al visitatore, alla data e all'ora esatta. "_s
        << u"pulsante"_s;
    QTest::newRow("ops 3")
        << ops << 2
        << u"Per richiamare la scheda di un pass nel modulo di ritiro o riconsegna, basta fare doppio "
           u"clic sulla relativa voce all'interno della lista. "_s
        << u"smarriti"_s;
    QTest::newRow("ops 6") << ops << 5
                           << u"I campi relativi alla data e all'ora dell'operazione appaiono già compilati ma, se si "
                              u"desidera, è possibile modificarli, ad eccezione dell'anno solare. "_s
                           << u"obbligatori"_s;
    QTest::newRow("ops 8") << ops << 7
                           << u"Per completare l'operazione, è necessario premere il pulsante Applica e chiudi. "_s
                           << u"storico"_s;
    QTest::newRow("general 1")
        << general << 0
        << u"Ingressario è un software rivolto ad aziende di qualsiasi dimensione e settore che semplifica e ottimizza "
           u"la gestione dei pass di ingresso (chiamati anche badge, tesserini, cartellini ecc.) da rilasciare ai "
           u"visitatori o ad altro personale autorizzato ad accedere alla propria struttura. "_s
        << u"riconsegna"_s;
    QTest::newRow("general 2")
        << general << 1
        << u"In un contesto aziendale dinamico e in continua evoluzione, la gestione efficiente e "
           u"sicura dei pass di accesso rappresenta un aspetto cruciale per la protezione delle "
           u"risorse e per la fluidità operativa. "_s
        << u"riepiloghi"_s;
    QTest::newRow("general 25") << general << 24 << u"Il software può essere utilizzato anche su chiavetta USB. "_s
                                << u"copia di sicurezza"_s;
    QTest::newRow("general 26")
        << general << 25
        << u"Ingressario è quindi una soluzione efficace e vantaggiosa per ottimizzare il monitoraggio degli ingressi "
           u"nella propria azienda e incrementare l'efficienza operativa, assicurando risparmio di tempo nel rilascio "
           u"dei pass ed eliminando processi manuali laboriosi. "_s
        << u"apprendimento"_s;
}

void TestGuidePages::summarisedParagraphsKeepTheirOpening()
{
    QFETCH(GuideTopic, topic);
    QFETCH(int, index);
    QFETCH(QString, opening);
    QFETCH(QString, alsoSays);
    const QString paragraph = GuidePages::page(topic).paragraphs.at(index);
    QVERIFY2(paragraph.startsWith(opening), qPrintable(paragraph));
    // Written out in full: the rest says something more than the opening sentence.
    const QString rest = paragraph.mid(opening.size());
    QVERIFY2(rest.size() > 40, qPrintable(paragraph));
    QVERIFY2(rest.contains(alsoSays), qPrintable(paragraph));
}

void TestGuidePages::firstAccessPasswordIsTold()
{
    QCOMPARE(GuidePages::page(GuideTopic::General).paragraphs.at(23),
             u"L'accesso all'app è protetto da una password aggiornabile dall'utente che può essere cambiata tutte le "
             u"volte che si desidera. Per il primo accesso al programma, bisogna utilizzare la parola chiave "
             u"\"velocipedarium\" (scritta senza le virgolette)."_s);
}

QTEST_APPLESS_MAIN(TestGuidePages)
#include "tst_GuidePages.moc"
