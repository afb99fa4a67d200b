// Telling when other connections have written to the database, without reading it anew.
#pragma once

#include <QStringList>
#include <optional>
#include <vector>

namespace db {

// What an engine offers to learn of other writers at once: files or a socket that an event loop
// can wait on, and a cheap check that says whether a write really happened.
class WriteWatch {
public:
    virtual ~WriteWatch() = default;
    // Files whose change may mean that another connection wrote (the database, its journal and
    // WAL, and their folder, where journals come and go); empty on a server.
    virtual QStringList files() const = 0;
    // A socket that turns readable when the server announces a write; -1 when there is none
    // at the moment (a file, or a server connection that is down).
    virtual int socket() const = 0;
    // Whether another connection has written since the last call. A server connection that
    // was lost is opened again here, and counts as a write: what it missed is unknown. Throws
    // DbError when it cannot tell.
    virtual bool written() = 0;
    // The rowids of the rows other connections have written, as the writes written() found
    // told them, gathered since the last call; nothing when some write did not tell them (too
    // many rows, a table emptied, a server connection lost, a file): anything may have changed.
    virtual std::optional<std::vector<qint64>> takeWrittenRows() { return std::nullopt; }
    // Whether written() can still be believed when it says no: on a server, the announcing
    // trigger is there, enabled, and on the table the connection's search path resolves. A
    // table dropped and made anew is followed from now on, but this once the answer is no.
    // Throws DbError when it cannot tell.
    virtual bool intact() = 0;
};

}  // namespace db
