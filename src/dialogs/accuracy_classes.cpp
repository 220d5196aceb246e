#include "dialogs/accuracy_classes.h"

#include "core/codec.h"

namespace kelm {

AccuracyClassList ReadAccuracyClasses(TRef_DataModule& db, std::int64_t accuracyClass) {
    AccuracyClassList classes;
    Query& q = db.SQLQuery;
    q.Close();
    q.SetText(R"(select distinct * from "MeterACs" where "MeterType"=(select "MeterType" from "MeterACs" where "Ident"=:p1))");
    q.Param(0).SetInteger(accuracyClass);
    for (q.Open(); !q.Eof(); q.Next()) {
        const auto ident = static_cast<std::int32_t>(q.Field("Ident").AsInteger());
        if (ident == accuracyClass) classes.present = static_cast<int>(classes.idents.size());
        classes.idents.push_back(ident);
        classes.names << QString::fromUtf8(Utf8FromCp1251(q.Field("Name").AsString()));
    }
    q.Close();
    return classes;
}

void FillAccuracyClasses(QComboBox& list, std::vector<std::int32_t>& idents, TRef_DataModule* db,
                         std::int64_t accuracyClass, WorkbenchDialogs& messages) {
    list.clear();
    idents.clear();
    AccuracyClassList classes;
    try {
        if (!db || !db->Connected()) throw DatabaseError("no catalogue database is connected");
        classes = ReadAccuracyClasses(*db, accuracyClass);
    } catch (const std::exception& error) {
        messages.Inform(QString::fromUtf8("Классы точности не прочитаны из базы данных."),
                        QString::fromStdString(DisplayText(error.what())));
        return;
    }
    idents = classes.idents;
    list.addItems(classes.names);
    list.setCurrentIndex(classes.present);
}

}  // namespace kelm
