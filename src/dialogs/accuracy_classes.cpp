#include "dialogs/accuracy_classes.h"

#include "core/codec.h"

namespace kelm {
namespace {

const char* kSameMeterType =
    R"(select distinct * from "MeterACs" where "MeterType"=(select "MeterType" from "MeterACs" where "Ident"=:p1))";

}  // namespace

std::vector<ListedRow> ReadAccuracyClasses(TRef_DataModule* db, std::int64_t accuracyClass,
                                           WorkbenchDialogs& messages) {
    try {
        return ReadListedRows(db, kSameMeterType, accuracyClass);
    } catch (const std::exception& error) {
        messages.Inform(QString::fromUtf8("Классы точности не прочитаны из базы данных."),
                        QString::fromStdString(DisplayText(error.what())));
        return {};
    }
}

}  // namespace kelm
