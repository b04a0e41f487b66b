#include "shell/GuidePages.h"

using namespace Qt::StringLiterals;

namespace {

QStringList exportParagraphs()
{
    return {
        u"Il pulsante Esporta archivio consente di esportare lo schedario dei pass in un foglio di lavoro di "
        u"Microsoft Excel, che potrà essere aperto con qualsiasi software in grado di gestire i file in formato XLS "
        u"(ad esempio, con Open Office, Libre Office o Microsoft Office)."_s,
        u"Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic sull'icona di Excel. "
        u"Questa operazione crea in tempo reale un file in formato XLS contenente le schede in archivio, che potrà "
        u"essere aperto immediatamente rispondendo affermativamente al messaggio di domanda che appare."_s,
        u"A questo punto è sufficiente salvare il file sul proprio disco fisso assegnandogli un nome qualsiasi."_s,
    };
}

QStringList historyParagraphs()
{
    return {
        u"L'app Storico Operazioni consente di visualizzare riepiloghi delle operazioni di ritiro e riconsegna dei "
        u"pass effettuate in un intervallo di tempo di propria scelta. Questi riepiloghi possono essere utili per "
        u"analisi interne di sicurezza, garantendo un controllo capillare dei visitatori che hanno avuto accesso "
        u"alla propria struttura."_s,
        u"Le voci del riepilogo appaiono ordinate alfabeticamente in base al numero identificativo di ciascun pass. "
        u"L'elenco mostra tutte le operazioni in archivio escludendo quelle in cui i pass non sono ancora stati "
        u"riconsegnati."_s,
        u"Per ottenere lo storico delle operazioni, bisogna indicare l'anno solare e il giorno di inizio e di fine "
        u"intervallo considerando la data di ritiro dei pass, dopodiché si deve premere il pulsante Visualizza "
        u"riepilogo. Tale riepilogo può essere esportato in un file di Excel e quindi stampato su carta. Il "
        u"documento di Excel potrà essere aperto con qualsiasi software in grado di gestire i file in formato XLS "
        u"(ad esempio, con Open Office, Libre Office o Microsoft Office)."_s,
        u"La schermata dello storico delle operazioni contiene anche un link che permette di visualizzare e "
        u"stampare l'elenco dei pass non ancora riconsegnati."_s,
    };
}

QStringList cardFileParagraphs()
{
    return {
        u"L'app Schedario Pass è l'ambiente in cui vanno forniti i dettagli di tutti i pass della propria azienda "
        u"che i visitatori o altre persone autorizzate avranno bisogno di ritirare e di riconsegnare. Per ciascun "
        u"pass si possono registrare il numero identificativo, la tipologia, l'utilizzo (ad esempio l'accesso al "
        u"parcheggio, agli uffici amministrativi, al magazzino o alla sala riunioni), gli eventuali duplicati, il "
        u"luogo in cui viene conservato, il nome del responsabile con i relativi recapiti, le persone autorizzate "
        u"al ritiro e qualsiasi annotazione utile."_s,
        u"Per inserire in archivio la scheda di un nuovo pass, bisogna premere il pulsante Nuovo (icona del foglio "
        u"bianco), compilare i campi di testo che interessano e premere Salva (icona del dischetto floppy). Per "
        u"modificare una scheda già archiviata, è sufficiente visualizzarla, cercandola con la funzione Trova "
        u"oppure scorrendo l'archivio con le frecce di navigazione, apportare le modifiche desiderate e premere "
        u"nuovamente Salva."_s,
        u"La funzione Duplica è particolarmente utile se si ha bisogno di registrare diversi pass con "
        u"caratteristiche simili, ad esempio quelli che autorizzano l'accesso a uffici della stessa area della "
        u"struttura, quelli assegnati allo stesso responsabile e così via. Basta visualizzare la scheda di "
        u"partenza, premere il pulsante Duplica (icona dei due fogli sovrapposti), modificare i dati che "
        u"differiscono, come il numero identificativo, e premere Salva per archiviare la nuova scheda."_s,
        u"Il campo \"Stato attuale\" è di sola lettura e si aggiorna automaticamente quando si registra il ritiro "
        u"di un pass utilizzando l'apposita funzione. Al momento del ritiro, la dicitura \"Disponibile\" viene "
        u"sostituita dal nome della persona che ha ritirato il pass, seguito dalla data e dall'ora "
        u"dell'operazione; quando il pass viene riconsegnato, il campo torna a indicare \"Disponibile\"."_s,
        u"Il pulsante Allega file permette di associare alla scheda di ciascun pass fino a tre file da richiamare "
        u"velocemente con un clic. Può trattarsi, ad esempio, della fotografia del pass, della scansione di "
        u"un'autorizzazione firmata, della planimetria delle aree a cui il pass dà accesso o di un regolamento "
        u"interno in formato PDF."_s,
        u"Il pulsante Trova (icona della lente di ingrandimento) consente di effettuare ricerche avanzate in "
        u"archivio funzionanti anche con chiave parziale, ossia indicando una o più parole consecutive contenute "
        u"nei campi di testo. È possibile combinare più filtri contemporaneamente, ad esempio per trovare tutti i "
        u"pass di una certa tipologia affidati allo stesso responsabile oppure quelli conservati in un determinato "
        u"luogo. L'elenco dei risultati può essere stampato su carta."_s,
        u"Se il pass è stato smarrito, è necessario spuntare l'apposita casella. Il pulsante con l'icona del "
        u"triangolo giallo mostra l'elenco dei pass smarriti, che non vengono proposti né per il ritiro né per la "
        u"riconsegna. Se un pass smarrito viene ritrovato, basta togliere il segno di spunta dalla casella e "
        u"salvare la scheda."_s,
        u"La singola scheda può essere stampata su carta premendo il pulsante Stampa, mentre l'intero schedario "
        u"dei pass può essere esportato in un foglio di Excel."_s,
    };
}

QStringList operationsParagraphs()
{
    return {
        u"L'app Ritiri e Riconsegne mette a disposizione due ambienti di lavoro quasi identici in cui è possibile "
        u"registrare in modo rapido e preciso il ritiro e la riconsegna dei pass, associando ogni operazione al "
        u"visitatore, alla data e all'ora esatta. Per prima cosa bisogna premere il pulsante dell'operazione che "
        u"si desidera effettuare: Ritiro pass oppure Riconsegna pass."_s,
        u"Nella finestra che appare, si deve quindi fare clic sul pulsante Seleziona pass per visualizzare un "
        u"apposito elenco che, a seconda dell'operazione, mostra i pass disponibili per il ritiro o quelli da "
        u"riconsegnare."_s,
        u"Per richiamare la scheda di un pass nel modulo di ritiro o riconsegna, basta fare doppio clic sulla "
        u"relativa voce all'interno della lista. L'elenco è ricavato dallo schedario dei pass e non comprende i "
        u"pass segnalati come smarriti."_s,
        u"Il riepilogo dei pass da riconsegnare mostra, per ogni pass, il nome del visitatore unitamente alla data "
        u"e all'ora in cui ha ritirato il pass."_s,
        u"I dati del pass richiamati dallo schedario riguardano il numero identificativo, la tipologia, "
        u"l'utilizzo, il luogo di conservazione, il nome e i recapiti del responsabile e le persone autorizzate al "
        u"ritiro."_s,
        u"I campi relativi alla data e all'ora dell'operazione appaiono già compilati ma, se si desidera, è "
        u"possibile modificarli, ad eccezione dell'anno solare. La data, l'ora e il nome della persona che ritira "
        u"o riconsegna il pass sono dati obbligatori: senza di essi l'operazione non può essere registrata."_s,
        u"Il pulsante Stampa modulo permette di stampare su carta il modulo da far firmare al visitatore in fase "
        u"di ritiro e di riconsegna del pass."_s,
        u"Per completare l'operazione, è necessario premere il pulsante Applica e chiudi. Ogni riconsegna viene "
        u"inoltre registrata nello storico delle operazioni, dal quale è possibile ricavare riepiloghi relativi a "
        u"periodi di tempo di propria scelta."_s,
    };
}

QStringList generalParagraphs()
{
    QStringList out{
        u"Ingressario è un software rivolto ad aziende di qualsiasi dimensione e settore che semplifica e "
        u"ottimizza la gestione dei pass di ingresso (chiamati anche badge, tesserini, cartellini ecc.) da "
        u"rilasciare ai visitatori o ad altro personale autorizzato ad accedere alla propria struttura. Il "
        u"programma segue ogni pass dal momento del ritiro fino alla riconsegna e registra chi è entrato e uscito, "
        u"in quale giorno e a che ora."_s,
        u"In un contesto aziendale dinamico e in continua evoluzione, la gestione efficiente e sicura dei pass di "
        u"accesso rappresenta un aspetto cruciale per la protezione delle risorse e per la fluidità operativa. I "
        u"tradizionali registri cartacei richiedono tempo e sono esposti a errori e dimenticanze; Ingressario "
        u"offre invece una visione chiara e sempre aggiornata delle consegne e delle restituzioni dei pass e "
        u"permette di ottenere riepiloghi relativi a periodi di tempo di propria scelta."_s,
    };
    // The three work-area pages, word for word and in their own order.
    out << cardFileParagraphs() << operationsParagraphs() << historyParagraphs();
    out << u"Ingressario può essere usato anche in una rete locale se si ha necessità di condividere gli archivi "
           u"fra più postazioni di lavoro."_s
        << u"L'accesso all'app è protetto da una password aggiornabile dall'utente che può essere cambiata tutte "
           u"le volte che si desidera. Per il primo accesso al programma, bisogna utilizzare la parola chiave "
           u"\"velocipedarium\" (scritta senza le virgolette)."_s
        << u"Il software può essere utilizzato anche su chiavetta USB. È sufficiente copiare la cartella del "
           u"programma su una chiavetta e avviarlo direttamente da lì. Copiare la cartella è inoltre il modo più "
           u"rapido per fare una copia di sicurezza di tutti gli archivi."_s
        << u"Ingressario è quindi una soluzione efficace e vantaggiosa per ottimizzare il monitoraggio degli "
           u"ingressi nella propria azienda e incrementare l'efficienza operativa, assicurando risparmio di tempo "
           u"nel rilascio dei pass ed eliminando processi manuali laboriosi. Il software è inoltre così semplice e "
           u"intuitivo da non richiedere praticamente alcun tempo di apprendimento."_s;
    return out;
}

} // namespace

QString GuidePage::text() const
{
    return paragraphs.join(QStringView(GuidePages::ParagraphJoiner));
}

const GuidePage& GuidePages::page(GuideTopic topic)
{
    static const GuidePage exportPage{u"Esportazione schedario pass in Excel"_s, exportParagraphs()};
    static const GuidePage historyPage{u"App Storico Operazioni"_s, historyParagraphs()};
    static const GuidePage cardFilePage{u"App Schedario Pass"_s, cardFileParagraphs()};
    static const GuidePage operationsPage{u"App Ritiri e Riconsegne"_s, operationsParagraphs()};
    static const GuidePage generalPage{u"Uno sguardo a Ingressario"_s, generalParagraphs()};
    switch (topic) {
    case GuideTopic::Export:
        return exportPage;
    case GuideTopic::History:
        return historyPage;
    case GuideTopic::CardFile:
        return cardFilePage;
    case GuideTopic::Operations:
        return operationsPage;
    case GuideTopic::General:
        break;
    }
    return generalPage;
}

QList<GuideTopic> GuidePages::printedOrder()
{
    return {GuideTopic::General, GuideTopic::CardFile, GuideTopic::Export, GuideTopic::Operations, GuideTopic::History};
}
