#pragma once

// Lets pending window events run once (painting, timers) while holding back
// everything the user does: clicks, moves and keys wait until the caller is
// through and then arrive in their order. A handler that runs this pass can so
// never start a second round of the same work inside the first.
void ausstehendeEreignisseOhneEingabe();
