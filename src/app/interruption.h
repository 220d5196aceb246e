#pragma once
// SIGINT and SIGTERM end the programs at once, with the shell's status for
// them (130, 143). Nothing is half-kept: a database save commits only at its
// end and an exchange file is renamed into place only when complete, so
// ending mid-way leaves both as they were.

namespace kelm {

// Installs the handlers. The database client library puts its own in place
// when it first attaches (they only shut its connections down and the program
// runs on), so this is called again after every connection is made.
void EndOnInterrupt();

}  // namespace kelm
