#include <cstdlib>
#include <iostream>

#include "app/catalogue_tool.h"
#include "core/data_module.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    kelm::TRef_DataModule db(kelm::TRef_DataModule::EnvironmentSettings(std::getenv));
    return kelm::RunCatalogueTool(args, std::cout, std::cerr, kelm::RegionalSettings::FromEnvironment(), db);
}
