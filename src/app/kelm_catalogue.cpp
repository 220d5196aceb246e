#include <iostream>

#include "app/catalogue_tool.h"
#include "app/interruption.h"
#include "core/data_module.h"

int main(int argc, char** argv) {
    kelm::EndOnInterrupt();
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        kelm::TRef_DataModule db;
        db.SetAfterConnect(kelm::EndOnInterrupt);
        return kelm::RunCatalogueTool(args, std::cout, std::cerr, kelm::RegionalSettings::FromEnvironment(), db);
    } catch (const std::exception& error) {
        std::cerr << "kelm-catalogue: " << error.what() << "\n";
        return kelm::ExitBadFile;
    }
}
