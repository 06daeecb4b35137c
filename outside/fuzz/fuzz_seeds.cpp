// Writes a few valid inputs for each fuzzer into DIR/<fuzzer>/, so that each run starts from inputs
// that reach deep into the parsers.
#include <sys/stat.h>
#include <cstdio>
#include <string>
#include <vector>
#include "wire/Wire.h"

namespace {

void Put(const std::string& dir, const std::string& name, const void* data, size_t size)
{
    mkdir(dir.c_str(), 0755);
    std::string path = dir + "/" + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return;
    fwrite(data, 1, size, f);
    fclose(f);
}

void PutText(const std::string& dir, const std::string& name, const std::string& text)
{
    Put(dir, name, text.data(), text.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 1;
    }
    std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    uint8_t b[wire::kMaxDatagram];

    wire::Description d;
    d.type = "Farline Remote Access Server";
    d.ident = "ORD3";
    d.name = "ALPHA";
    d.version = wire::Version{4, 5, 4, 0x90, 2};
    d.flags = wire::kFlagUsable;
    d.groups = 3;
    std::string answers = root + "/engine_answer";
    Put(answers, "description", b, wire::EncodeDescription(7, wire::kOk, &d, b, sizeof b));
    Put(answers, "refused", b, wire::EncodeDescription(7, wire::kRefused, &d, b, sizeof b));
    Put(answers, "ports", b, wire::EncodePortList(8, wire::kOk, {"Command_Shell", "All_Ports", "Modems East"}, 0, b, sizeof b));
    Put(answers, "ports-page2", b, wire::EncodePortList(8, wire::kOk, {"a", "b", "c", "d"}, 2, b, sizeof b));

    std::string requests = root + "/sim_request";
    wire::Request r;
    r.kind = wire::kSearch;
    r.id = 1;
    Put(requests, "search", b, wire::EncodeRequest(r, b, sizeof b));
    r.kind = wire::kInfo;
    r.community = "marlow";
    Put(requests, "info", b, wire::EncodeRequest(r, b, sizeof b));
    r.kind = wire::kPorts;
    r.community.clear();
    r.first = 17;
    Put(requests, "ports", b, wire::EncodeRequest(r, b, sizeof b));

    std::string methods = root + "/lookup_methods";
    PutText(methods, "list", "BCAST, 10.0.0.1-20; 192.168.1.0/24 ras-1.example.com @Farline:Hosts");
    PutText(methods, "range", "127.0.0.1-127.0.2.20");
    PutText(methods, "line", "host=10.1.2.3");

    std::string configs = root + "/sim_config";
    PutText(configs, "full",
            "seed = 3\n[server]\naddress = 127.20.0.1\nport = 1549\nname = ALPHA\ntype = Farline\nident = ORD3\n"
            "version = 4.5.4p2\nrelease_code = 0x60\nusable = yes\ngroups = Command_Shell, All_Ports\ncommunity = marlow\n"
            "tcpip = no\ndelay = 10\nloss = 5\nmalformed = 10 truncate\nrepeat = 2\n[server]\naddress = 127.20.0.2\nname = B\n");
    return 0;
}
