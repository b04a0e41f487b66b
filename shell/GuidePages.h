#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The texts of the guide: five pages, each a title and its paragraphs. The guide window shows
// them and the build lays them out in Guida.pdf, so both always say the same thing.
// QtCore only: the PDF generator links this file without widgets.

enum class GuideTopic
{
    Export,     // "Esportazione schedario pass in Excel"
    History,    // "App Storico Operazioni"
    CardFile,   // "App Schedario Pass"
    Operations, // "App Ritiri e Riconsegne"
    General,    // "Uno sguardo a Ingressario"
};

struct GuidePage
{
    QString title;
    QStringList paragraphs;

    // The paragraphs as the guide window shows them: two CR LF pairs between consecutive
    // paragraphs, nothing before the first or after the last.
    QString text() const;
};

namespace GuidePages {

// Placed between two paragraphs of a page's text.
inline constexpr char16_t ParagraphJoiner[] = u"\r\n\r\n";

const GuidePage& page(GuideTopic topic);

// Every page, in the order the printed guide presents them (general page first).
QList<GuideTopic> printedOrder();

} // namespace GuidePages
