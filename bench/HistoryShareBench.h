#pragma once

#include <QString>
#include <QTextStream>

// The history queries of one session over a history file on a network share, its reads slowed to
// `megabytesPerSecond`: a year read whole as every query did before, then the first query of the
// session and, after `appended` new records, the second. Works on a copy of the history file of
// `folder`. Returns false when a query failed or the two ways disagreed.
bool historyOnShare(QTextStream& out, const QString& folder, double megabytesPerSecond, int appended);
