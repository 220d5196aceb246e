#pragma once
// kelm-catalogue run in-process, its output kept.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/catalogue_tool.h"
#include "core/data_module.h"
#include "support/test_support.h"

namespace kelm::test {

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class CatalogueToolRun : public ::testing::Test {
protected:
    int Run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return RunCatalogueTool(args, out, err, settings, db);
    }
    RegionalSettings settings{',', "%d.%m.%Y", "%H:%M:%S"};
    TRef_DataModule db;
    std::ostringstream out, err;
    TempDir dir;
};

}  // namespace kelm::test
