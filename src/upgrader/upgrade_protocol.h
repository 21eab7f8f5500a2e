#pragma once

// What the client and the upgrader agree on. An upgrade keeps its bookkeeping in a folder of
// its own inside the program folder: the client leaves the list of the files it verified there,
// the upgrader its journal, the files it replaced and, when it undid an upgrade, a notice.
namespace upgrade_protocol {

// All relative to the program folder.
inline constexpr char kFolder[] = "upgrade";
// Written by the client when every file is downloaded and verified; never installed itself.
// Lines: "pebblo-upgrade 1", "version <v>", then "file <sha256 hex> <size> <pending name>".
inline constexpr char kVerifiedFiles[] = "upgrade/verified-files";
// The upgrader's record of an installation under way; see the upgrader's journal.
inline constexpr char kJournal[] = "upgrade/journal";
// The files an installation replaced, under their own names, until it is confirmed.
inline constexpr char kBackup[] = "upgrade/backup";
// Held (flock) by a running upgrader: a client that finds a journal while nobody holds it
// knows that the upgrader ended before its work was done.
inline constexpr char kLock[] = "upgrade/upgrader.lock";
// Left by the upgrader when it undid an upgrade: "<reason> <version>", reason "not-started"
// (the new version did not confirm its start) or "files-changed" (a verified file changed
// before it could be installed).
inline constexpr char kNotice[] = "upgrade/notice";

// The new client finds the socket on which it confirms a healthy start in this variable.
inline constexpr char kConfirmVariable[] = "PEBBLO_UPGRADE_CONFIRM_FD";
inline constexpr char kConfirmation[] = "started\n";
// How long the new client has to confirm.
inline constexpr int kConfirmSeconds = 60;

} // namespace upgrade_protocol
