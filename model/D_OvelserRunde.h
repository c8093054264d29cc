#pragma once
// Deleting a round of an event, or adding one, from the event editor: only that event row and its rounds
// change, and the programme is read anew afterwards.
#include "foundation/Exception.h"

#include <QString>

class TOvelseInfo;
class TOvelseManager;

// A round that cannot be deleted or added; the message is the refusal the user is shown.
class ERundeError : public Exception {
public:
    using Exception::Exception;
};

// The event row's rounds once the round is deleted; empty when the whole event row goes (its only
// round). Raises ERundeError when the round has entries, when it is the first of several, or when the
// rounds left would be out of order.
QString SletRundeRunder(const TOvelseInfo& info);
// The event row's rounds with one more: "IF" (timed events) or "KF" (jumps and throws) after one round,
// "ISF" after two, "IMSF" after three. Raises ERundeError for other events and when there are as many
// rounds as the event can have.
QString TilfoejRundeRunder(const TOvelseInfo& info);

// Deletes the round's record, or the event row with its rounds, and gives the row its rounds. Adds a
// round: the new round takes the settings (time, venue, heats, ...) of the round it goes before, or of the
// last one, and its own letter. Both run the checks above first, store the changes in one transaction
// and read the programme anew: every TOvelseInfo of the manager is replaced. False when a record could
// not be stored (the user has been told and nothing was changed).
bool SletRunde(TOvelseManager& ovelser, TOvelseInfo& info);
bool TilfoejRunde(TOvelseManager& ovelser, TOvelseInfo& info);
