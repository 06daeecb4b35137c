#include "config/ServerList.h"
#include <algorithm>

int CServerList::IndexOfName(const CServer& server) const
{
    for (size_t i = 0; i < m_servers.size(); ++i)
        if (m_servers[i]->m_strName.Compare(server.m_strName.c_str()) == 0) return static_cast<int>(i);
    return -1;
}

void CServerList::AddOrReplace(CServer* server)
{
    std::unique_ptr<CServer> owned(server);
    int existing = IndexOfName(*server);
    if (existing >= 0) m_servers.erase(m_servers.begin() + existing);
    Modified = 1;
    m_servers.push_back(std::move(owned));
}

void CServerList::ClearMarks()
{
    for (auto& s : m_servers) s->m_mark = 0;
}

bool CServerList::Mark(const char* name)
{
    for (auto& s : m_servers) {
        if (s->m_strName.Compare(name) == 0) {
            s->m_mark = 1;
            return true;
        }
    }
    return false;
}

bool CServerList::RemoveUnmarked()
{
    auto firstRemoved = std::stable_partition(m_servers.begin(), m_servers.end(),
                                              [](const std::unique_ptr<CServer>& s) { return s->m_mark != 0; });
    bool removed = firstRemoved != m_servers.end();
    m_servers.erase(firstRemoved, m_servers.end());
    if (removed) Modified = 1;
    return removed;
}

void CServerList::DeleteAll()
{
    m_servers.clear();
    Modified = 1;
}
