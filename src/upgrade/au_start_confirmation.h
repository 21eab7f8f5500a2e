#pragma once

// A client that the upgrader started after putting a new version in place finds a socket in its
// environment: the upgrader puts the old version back unless the client confirms on it, in
// time, that it started well.

// Takes the socket out of the environment and keeps it from every program the client starts.
// Call it first thing, before anything is started.
void TakeStartConfirmation();

// Tells the waiting upgrader that this start went well; once, and only when one waits.
void ConfirmHealthyStart();
