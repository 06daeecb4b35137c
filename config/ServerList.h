// The remembered servers, in insertion order; the list owns them.
#pragma once
#include <memory>
#include <vector>
#include "config/Server.h"

class CServerList {
public:
    int GetSize() const { return static_cast<int>(m_servers.size()); }
    CServer* GetAt(int i) const { return m_servers.at(static_cast<size_t>(i)).get(); }

    // Index of the first server named like the given one, or -1.
    int IndexOfName(const CServer& server) const;
    // Takes ownership; a server of the same name is deleted and the new one goes to the end.
    void AddOrReplace(CServer* server);
    // Appends without the name check or the modified mark (used when loading).
    void Append(CServer* server) { m_servers.emplace_back(server); }
    void ClearMarks();
    // Marks the first server with that name; false when none has it.
    bool Mark(const char* name);
    // Deletes every unmarked server, keeping the order of the rest; true when one was deleted.
    bool RemoveUnmarked();
    void DeleteAll();

    DWORD Modified = 0;   // the list changed since it was last saved

private:
    std::vector<std::unique_ptr<CServer>> m_servers;
};
