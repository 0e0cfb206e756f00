// Writes the seven message catalogs with the module's built-in texts into a
// folder, as the package installs them for administrators to reword or
// translate. A catalog file holds one text per line, so a line break inside a
// text becomes a blank.
#include "OvCatalog.h"

#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: ovcatalogs FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const OvCatalog catalog :
         {OvCatalog::Snmp, OvCatalog::SnmpV3, OvCatalog::Usm, OvCatalog::SnmpClass,
          OvCatalog::OvSnmp, OvCatalog::Messages, OvCatalog::Common}) {
        std::ofstream file(folder / ov::catalogFileName(catalog), std::ios::binary);
        for (int entry = 0;; ++entry) {
            std::string text = ov::catalogEntry(catalog, entry);
            if (text.empty())
                break;
            for (char& c : text)
                c = c == '\n' ? ' ' : c;
            file << text << '\n';
        }
        if (!file) {
            std::cerr << "ovcatalogs: cannot write " << folder / ov::catalogFileName(catalog)
                      << "\n";
            return 1;
        }
    }
    return 0;
}
