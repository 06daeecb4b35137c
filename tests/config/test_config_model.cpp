// The configuration model's rules: the server list, servers built from device entries, port access.
#include <gtest/gtest.h>
#include <cstring>
#include "config/RegistryInfo.h"
#include "discovery/Device.h"

namespace {

CServer* Named(const char* name, const char* ip = "")
{
    auto* s = new CServer;
    s->m_strName = name;
    s->m_strIpAddr = ip;
    return s;
}

std::vector<std::string> Names(const CServerList& list)
{
    std::vector<std::string> names;
    for (int i = 0; i < list.GetSize(); ++i) names.push_back(list.GetAt(i)->m_strName);
    return names;
}

TEST(ServerList, AddOrReplaceMovesTheNewServerToTheEnd)
{
    CServerList list;
    list.AddOrReplace(Named("A", "1.1.1.1"));
    list.AddOrReplace(Named("B"));
    list.AddOrReplace(Named("C"));
    list.Modified = 0;
    list.AddOrReplace(Named("A", "2.2.2.2"));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(list.GetAt(2)->m_strIpAddr, "2.2.2.2");
    EXPECT_EQ(list.Modified, 1u);
    EXPECT_EQ(list.IndexOfName(*list.GetAt(0)), 0);
}

TEST(ServerList, NamesDifferingOnlyInCaseAreDifferentServers)
{
    CServerList list;
    list.AddOrReplace(Named("srv"));
    list.AddOrReplace(Named("SRV"));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"srv", "SRV"}));
    CServer probe;
    probe.m_strName = "Srv";
    EXPECT_EQ(list.IndexOfName(probe), -1);
    EXPECT_FALSE(list.Mark("Srv"));
}

TEST(ServerList, MarkAndRemoveUnmarkedKeepsTheServersStillNamed)
{
    CServerList list;
    for (const char* n : {"A", "B", "C", "D"}) list.AddOrReplace(Named(n));
    list.Modified = 0;
    list.ClearMarks();
    EXPECT_TRUE(list.Mark("D"));
    EXPECT_TRUE(list.Mark("B"));
    EXPECT_TRUE(list.RemoveUnmarked());
    EXPECT_EQ(Names(list), (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(list.Modified, 1u);

    // Every server marked: nothing goes and the modified flag stays as it was.
    list.Modified = 0;
    list.ClearMarks();
    list.Mark("B");
    list.Mark("D");
    EXPECT_FALSE(list.RemoveUnmarked());
    EXPECT_EQ(list.GetSize(), 2);
    EXPECT_EQ(list.Modified, 0u);

    // A cleared mark does not survive the next clean-up.
    list.ClearMarks();
    list.Mark("D");
    EXPECT_TRUE(list.RemoveUnmarked());
    EXPECT_EQ(Names(list), (std::vector<std::string>{"D"}));
}

TEST(ServerList, DeleteAllMarksModifiedEvenWhenEmpty)
{
    CServerList list;
    list.DeleteAll();
    EXPECT_EQ(list.Modified, 1u);
    list.AddOrReplace(Named("A"));
    list.Modified = 0;
    list.DeleteAll();
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(list.Modified, 1u);
}

HLP_DEVICE_ENTRY Entry(WORD transport, const char* name)
{
    HLP_DEVICE_ENTRY e;
    memset(&e, 0, sizeof e);
    e.wTransport = transport;
    strcpy(e.szName, name);
    return e;
}

TEST(Server, TakesTheAddressTextsOfTheEntrysTransportOnly)
{
    HLP_DEVICE_ENTRY ip = Entry(HLP_TRANSPORT_TCPIP, "IPSRV");
    const BYTE ipBytes[] = {0x02, 0x00, 0x0D, 0x06, 10, 1, 2, 3};
    memcpy(EntryBytes(ip, 107), ipBytes, sizeof ipBytes);
    CDevice device(&ip);
    CServer s(device);
    EXPECT_EQ(s.m_strName, "IPSRV");
    EXPECT_EQ(s.m_strIpAddr, "10.1.2.3");
    EXPECT_EQ(s.m_strIpSocket, "0x060D");
    EXPECT_TRUE(s.m_strIpxNetAddr.empty() && s.m_strIpxNodeAddr.empty() && s.m_strIpxSocket.empty() &&
                s.m_strIpxHops.empty());

    HLP_DEVICE_ENTRY ipx = Entry(HLP_TRANSPORT_IPX, "IPXSRV");
    const BYTE ipxBytes[] = {0, 0, 0x00, 0x00, 0x01, 0xA2, 0x00, 0x80, 0xC7, 0x12, 0x34, 0x56, 0x51, 0x04, 0x01, 0x00};
    memcpy(EntryBytes(ipx, 107), ipxBytes, sizeof ipxBytes);
    CServer t(ipx);
    EXPECT_EQ(t.m_strIpxNetAddr, "0x000001A2");
    EXPECT_EQ(t.m_strIpxNodeAddr, "0x0080C7123456");
    EXPECT_EQ(t.m_strIpxSocket, "0x0451");
    EXPECT_EQ(t.m_strIpxHops, "0x0001");
    EXPECT_TRUE(t.m_strIpAddr.empty() && t.m_strIpSocket.empty());

    HLP_DEVICE_ENTRY other = ipx;
    other.wTransport = 7;
    CServer u(other);
    EXPECT_EQ(u.m_strName, "IPXSRV");
    EXPECT_TRUE(u.m_strIpxNetAddr.empty() && u.m_strIpxNodeAddr.empty() && u.m_strIpxSocket.empty() &&
                u.m_strIpxHops.empty() && u.m_strIpAddr.empty() && u.m_strIpSocket.empty());
}

TEST(Server, NameIsBoundedByItsFieldWhenTheEngineLeftNoTerminator)
{
    HLP_DEVICE_ENTRY e = Entry(HLP_TRANSPORT_TCPIP, "");
    memset(e.szName, 'N', sizeof e.szName);
    CServer s(e);
    EXPECT_EQ(s.m_strName, std::string(48, 'N'));
}

TEST(Options, GetPortConfigGivesThePortsOwnFieldsAndNothingOutsideOneToFour)
{
    COptions o;
    DWORD* flag = nullptr;
    CString* list = nullptr;
    for (int port = 1; port <= 4; ++port) {
        ASSERT_TRUE(o.GetPortConfig(port, flag, list));
        *flag = static_cast<DWORD>(port);
        *list = FormatText("L%d", port);
    }
    EXPECT_EQ(o.COM1Redir, 1u);
    EXPECT_EQ(o.COM3Redir, 3u);
    EXPECT_EQ(o.COM4List, "L4");
    EXPECT_EQ(o.COM2List, "L2");
    DWORD* untouched = nullptr;
    for (int port : {0, 5, -1}) {
        EXPECT_FALSE(o.GetPortConfig(port, untouched, list));
        EXPECT_EQ(untouched, nullptr);
    }
}

TEST(RegistryInfo, IsCreatableByItsRunTimeClassName)
{
    EXPECT_EQ(CRuntimeClass::FromName("CRegistryInfo"), RUNTIME_CLASS(CRegistryInfo));
    EXPECT_EQ(CRuntimeClass::FromName("COptions"), RUNTIME_CLASS(COptions));
    EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
    for (const char* name : {"CRegistryInfo", "COptions"}) {
        const CRuntimeClass* cls = CRuntimeClass::FromName(name);
        ASSERT_NE(cls, nullptr) << name;
        std::unique_ptr<CObject> object(cls->CreateObject());
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(object->IsKindOf(cls));
    }
    std::unique_ptr<CObject> info(CRuntimeClass::FromName("CRegistryInfo")->CreateObject());
    auto* config = static_cast<CRegistryInfo*>(info.get());
    EXPECT_EQ(config->options.Modified, 0u);
    EXPECT_EQ(config->options.Narrate, 0u);
    EXPECT_EQ(config->options.ShowUsableOnly, 0u);
    EXPECT_TRUE(config->options.Username.empty());
    EXPECT_EQ(config->servers.Modified, 0u);
}

}  // namespace
