#pragma once

#include "archives/PassRecord.h"
#include "lists/PassLine.h"

#include <QString>

#include <functional>

class PassLineModel;

namespace ChosenCard {

using Receiver = std::function<void(qint64 position, const PassRecord& card)>;

// Hands over the card of the chosen line: opens the card file, reads the card again at the
// position kept with the line and, while it still gives that line and passes `stillListed` (another
// workstation may have changed it since the list was built), gives it to `receiver`; closes the
// file. A row of -1 (no line chosen) hands nothing over. False only on a card file failure.
bool handOver(const QString& programFolder, const PassLineModel& lines, int row, PassLine::Form form,
              const std::function<bool(const PassRecord&)>& stillListed, const Receiver& receiver);

} // namespace ChosenCard
