// Benchmarks at catalogue scale. Each figure is timed together with its floor
// (the same work done by the bare libraries underneath) in the same run, so
// that the ratio means the same on any machine.
//
//   kelm-bench --template EMPTY.fdb --work DIR [--count N ...] [--seed S] [--results FILE] [--skip FIGURE ...] [--server HOST/PORT]
//   kelm-bench memory LEFT.xml RIGHT.fdb   (the peak memory of one window; run by the above)

#include <fcntl.h>
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "bench/catalogue_generator.h"
#include "bench/relay.h"
#include "catalogues/arresters.h"
#include "catalogues/busbars.h"
#include "catalogues/categories.h"
#include "core/database_save.h"
#include "decisions/catalogue_check.h"
#include "decisions/comparison.h"
#include "decisions/merge.h"
#include "catalogues/compensators.h"
#include "catalogues/current_limit_reactors.h"
#include "catalogues/instrument_transforms.h"
#include "catalogues/meters.h"
#include "catalogues/motors.h"
#include "catalogues/provods.h"
#include "catalogues/shunt_reactors.h"
#include "catalogues/switch_gr.h"
#include "catalogues/transforms.h"
#include "catalogues/transforms3.h"
#include "catalogues/transforms_ss.h"
#include "core/data_module.h"
#include "core/exchange_file.h"
#include "formats/catalogue_file.h"
#include "workbench/main_window.h"

namespace kelm::bench {
namespace {

namespace fs = std::filesystem;

template <class Work>
double Seconds(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The best of a few runs, for figures cheap enough to repeat.
template <class Work>
double BestOf(int runs, Work&& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) best = std::min(best, Seconds(work));
    return best;
}

// The best of a few opens of a source. The container is freed outside the
// time: freeing 20,000 records is not part of opening them.
double BestOpen(int runs, const std::string& path, TRef_DataModule& db) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        std::unique_ptr<TReference> opened;
        best = std::min(best, Seconds([&] { opened = OpenCatalogue(path, db); }));
    }
    return best;
}

// Runs `work` on the typed collection behind `collection`.
template <class Work>
void WithTyped(TXMLCustomClass& collection, Work&& work) {
    if (auto* c = dynamic_cast<TProvods*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TTransforms*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TTransforms3*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TTransformsSS*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TTransformsA*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TBusbars*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TShuntReactors*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TSyncCondensers*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TCapacitorBanks*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TTiristorCondensers*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TSyncMotors*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TAsyncMotors*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TValveArresters*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TExcessVoltageSuppressors*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TCurrentLimitReactorsRefs*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TSwitchGRs*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TMetersRefs*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TTransformsIRefs*>(&collection)) return work(*c);
    if (auto* c = dynamic_cast<TTransformsVRefs*>(&collection)) return work(*c);
    throw std::logic_error(std::string("no benchmark type for ") + collection.ClassName());
}

// Every table a catalogue is read from.
const std::vector<const char*> kTables = {
    "ProvodTypes", "Provods", "Cables", "Transforms2", "Transforms3", "TransformsSS", "TransformsA", "Busbars",
    "ShuntReactorsRef", "SynchronousCondensers", "CapacitorBanks", "TiristorCondensers", "SynchronousMotors",
    "AsynchronousMotors", "ValveArresters", "ExcessVoltageSuppressors", "CurrentLimitReactorsRef", "SwitchGN",
    "SwitchGR", "MetersRef", "TransformsIRef", "TransformsVRef",
};

// Skips every duplicate and remembers it for the group, as a user ticking
// "Применить ко всем" with "Пропустить" does.
class SkipRemembered : public CopyQuestions {
public:
    ChoiceResult AskDuplicate(const std::string&, DuplicateGroup) override {
        ++asked;
        return {Skip, true};
    }
    CommentResult AskComment(const std::string&, const std::function<bool(const std::string&)>&) override {
        return {};
    }
    ChoiceResult AskUpdate(const UpdateQuestion&) override {
        ++asked;
        return {Skip, true};
    }
    int asked = 0;
};

long PeakMemoryKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

void CopyFile(const std::string& from, const std::string& to) {
    fs::remove(to);
    fs::copy_file(from, to);
}

// The floor of an exchange-file write: pugixml builds a document of the same
// elements and texts and writes it out, flushed to the disk as ours is.
void WriteLikeDocument(const pugi::xml_document& shape, const std::string& path) {
    pugi::xml_document doc;
    std::function<void(pugi::xml_node, pugi::xml_node)> copy = [&](pugi::xml_node from, pugi::xml_node to) {
        for (pugi::xml_node child = from.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            pugi::xml_node made = to.append_child(child.name());
            if (child.first_child() && child.first_child().type() == pugi::node_pcdata)
                made.text().set(child.child_value());
            else
                copy(child, made);
        }
    };
    copy(shape, doc);
    doc.save_file(path.c_str(), "\t", pugi::format_indent, pugi::encoding_utf8);
    const int fd = open(path.c_str(), O_RDONLY);
    fsync(fd);
    close(fd);
}

// The rows a save writes besides each record's own: conductor and device
// types, voltages, null conductors. Read back from a saved database, so that
// the floor inserts exactly the rows the save did.
struct SideColumn {
    const char* name;
    bool text;  // or else a number
};
struct SideTable {
    const char* name;
    std::vector<SideColumn> columns;

    std::string ColumnList() const {
        std::string list;
        for (const SideColumn& column : columns) list += (list.empty() ? "\"" : ",\"") + std::string(column.name) + "\"";
        return list;
    }
    std::string Select() const { return "select " + ColumnList() + " from \"" + name + "\""; }
    std::string Insert() const {
        std::string marks;
        for (std::size_t i = 0; i < columns.size(); ++i) marks += i ? ",?" : "?";
        return "INSERT INTO \"" + std::string(name) + "\" (" + ColumnList() + ") VALUES (" + marks + ")";
    }
};
const std::vector<SideTable> kSideTables = {
    {"ProvodTypes", {{"Unom", false}, {"Name", true}, {"CableFlags", false}}},
    {"Unom", {{"Unom", false}}},
    {"Cables", {{"Ident", false}, {"NumberPhases", false}, {"PhaseNull_F", false}, {"PhaseNull_R0", false},
                {"PhaseNull_X0", false}, {"PhaseNull_B0", false}, {"PhaseNull_Idop", false}}},
    {"SwitchGN", {{"Name", true}}},
};

using SideRow = std::vector<std::variant<std::monostate, double, std::string>>;
std::vector<std::vector<SideRow>> ReadSideRows(Query& q) {
    std::vector<std::vector<SideRow>> rows;
    for (const SideTable& table : kSideTables) {
        rows.emplace_back();
        q.Close();
        q.SetText(table.Select());
        q.Open();
        for (; !q.Eof(); q.Next()) {
            SideRow& row = rows.back().emplace_back();
            for (std::size_t i = 0; i < table.columns.size(); ++i) {
                const FieldValue field = q.Field(static_cast<int>(i));
                if (field.IsNull()) row.emplace_back();
                else if (table.columns[i].text) row.emplace_back(field.AsString());
                else row.emplace_back(field.AsDouble());
            }
        }
    }
    q.Close();
    return rows;
}

void InsertSideRows(const std::vector<std::vector<SideRow>>& rows, Query& q) {
    for (std::size_t t = 0; t < kSideTables.size(); ++t) {
        const std::string insert = kSideTables[t].Insert();
        for (const SideRow& row : rows[t]) {
            q.Close();
            q.SetText(insert);
            for (std::size_t i = 0; i < row.size(); ++i) {
                ParamSlot slot = q.Param(static_cast<int>(i));
                if (const double* number = std::get_if<double>(&row[i])) slot.SetDouble(*number);
                else if (const std::string* text = std::get_if<std::string>(&row[i])) slot.SetString(*text);
                else slot.SetNull();
            }
            q.Execute();
        }
    }
    q.Close();
}

// Saves `catalogue` into a fresh copy of the empty database at `path`, and
// times plain inserts of the same rows into another copy at `floorPath`;
// both reached through `server` ("localhost/PORT") when it is given.
struct SaveTimes {
    double save = 0;
    double floor = 0;
    std::size_t failed = 0;
};
SaveTimes TimeSaves(TReference& catalogue, const std::string& emptyDb, const std::string& path,
                    const std::string& floorPath, const std::string& server, TRef_DataModule& db,
                    const NumberText& numbers) {
    auto source = [&](const std::string& file) { return server.empty() ? file : server + ":" + file; };
    SaveTimes times;
    // Forced writes stay on, as in every catalogue database: what users get.
    CopyFile(emptyDb, path);
    db.ConnectTo(source(path));
    int failed = 0;
    times.save = Seconds([&] { failed = SaveDatabase(catalogue, db, numbers); });
    times.failed = static_cast<std::size_t>(failed);
    const auto sideRows = ReadSideRows(db.SQLQuery);

    // The floor is the same rows inserted in one transaction.
    CopyFile(emptyDb, floorPath);
    db.ConnectTo(source(floorPath));
    times.floor = Seconds([&] {
        Transaction transaction(db.SQLConnection);
        InsertSideRows(sideRows, db.SQLQuery);
        // The records' own rows: their values, whatever the save set in them
        // (identifiers, marks), are the same for the inserts.
        for (int c = 0; c < catalogue.CategoryCount(); ++c)
            WithTyped(*catalogue.GetCollection(c), [&](auto& collection) {
                const auto& category = collection.Definition();
                Query& q = db.SQLQuery;
                for (int i = 0; i < collection.Count(); ++i) {
                    q.Close();
                    q.SetText(category.insertSql);
                    detail::BindParams(category, category.params, *collection.GetItem(i), q);
                    q.Execute();
                }
                q.Close();
            });
        transaction.commit();
    });
    db.SQLConnection.Disconnect();
    return times;
}

// The best of three opens of the catalogue database `source`, and of three
// plain reads of all its tables.
std::pair<double, double> TimeOpens(const std::string& source, TRef_DataModule& db) {
    const double open = BestOpen(3, source, db);
    std::size_t fieldsRead = 0;
    const double read = BestOf(3, [&] {
        db.ConnectTo(source);
        Query& q = db.SQLQuery;
        for (const char* table : kTables) {
            q.Close();
            q.SetText(std::string("select * from \"") + table + "\"");
            q.Open();
            const int columns = q.FieldCount();
            for (; !q.Eof(); q.Next())
                for (int i = 0; i < columns; ++i) fieldsRead += q.Field(i).IsNull() ? 0 : 1;
        }
        q.Close();
    });
    db.SQLConnection.Disconnect();
    return {open, read};
}

struct Figure {
    std::string key;
    std::string title;
    double time;
    double floor;  // negative: none
    const char* unit = "s";
};

class Report {
public:
    Report(int count, std::ostream* raw) : count_(count), raw_(raw) {}
    void Add(const Figure& f) {
        figures.push_back(f);
        char line[200];
        if (f.floor >= 0)
            std::snprintf(line, sizeof line, "N=%-6d %-44s %8.3f s  floor %8.3f s  ratio %5.2f", count_, f.title.c_str(),
                          f.time, f.floor, f.time / f.floor);
        else
            std::snprintf(line, sizeof line, "N=%-6d %-44s %8.3f %s", count_, f.title.c_str(), f.time, f.unit);
        std::cout << line << std::endl;
        if (raw_) *raw_ << "count=" << count_ << " figure=" << f.key << " time=" << f.time << " floor=" << f.floor << "\n";
    }
    void Note(const std::string& key, const std::string& text) {
        std::cout << "N=" << count_ << "  " << text << std::endl;
        if (raw_) *raw_ << "count=" << count_ << " note=" << key << " " << text << "\n";
    }
    double Time(const std::string& key) const {
        for (const auto& f : figures)
            if (f.key == key) return f.time;
        return -1;
    }
    std::vector<Figure> figures;

private:
    int count_;
    std::ostream* raw_;
};

// Whether a figure is to be measured (the others can be left out with --skip).
struct Selection {
    std::vector<std::string> skipped;
    bool operator()(const std::string& key) const {
        return std::find(skipped.begin(), skipped.end(), key) == skipped.end();
    }
};

// A window on the screen, its drops answered "Пропустить" for all.
struct ShownWindow {
    ShownWindow(const RegionalSettings& settings, TRef_DataModule& db) : window(settings) {
        window.SetDataModule(&db);
        window.SetCopyQuestions(&answers);
        window.show();
        QApplication::processEvents();
    }
    SkipRemembered answers;
    TForm1 window;
};

// What the window answers the user while both panes hold N elements, the
// trees open: "Сравнить" ticked, "только различия" chosen, a letter typed in
// "Найти", a voltage class chosen. With an assistive tool's accessibility on,
// also the drop of everything onto an empty pane and its undo.
void TimeWindow(Report& report, const std::string& left, const std::string& right, TRef_DataModule& db,
                bool accessible) {
    const std::string suffix = accessible ? "-a11y" : "";
    const std::string said = accessible ? ", accessibility on" : "";
    QAccessible::setActive(accessible);
    const RegionalSettings settings;
    ShownWindow shown(settings, db);
    TForm1& window = shown.window;
    auto timed = [&](const std::string& key, const std::string& title, const std::function<void()>& step) {
        const double time = Seconds([&] {
            step();
            QApplication::processEvents();
        });
        report.Add({key + suffix, title + said, time, -1});
    };
    // The root and every category opened, as the user opens them.
    auto expand = [](CatalogueTree* tree) {
        tree->expand(tree->Root());
        for (int c = 0; c < tree->model()->rowCount(tree->Root()); ++c)
            tree->expand(tree->model()->index(c, 0, tree->Root()));
        QApplication::processEvents();
    };
    if (!window.OpenPath(Pane::Left, QString::fromStdString(left))) throw std::runtime_error("cannot open " + left);
    expand(window.LeftTree);
    if (accessible) {
        timed("drop-empty", "drop everything onto an empty pane", [&] {
            window.LeftTree->clearSelection();
            window.LeftTree->selectionModel()->select(window.LeftTree->Root(), QItemSelectionModel::Select);
            window.RightTreeDragDrop(window.LeftTree);
        });
        timed("undo-drop", "undo the drop", [&] { window.btnUndo->trigger(); });
    }
    if (!window.OpenPath(Pane::Right, QString::fromStdString(right))) throw std::runtime_error("cannot open " + right);
    expand(window.RightTree);
    // The window compares ahead while nothing happens: the user looks at the trees first.
    while (window.ComparingAhead()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    timed("compare-tick", "tick \"Сравнить\"", [&] { window.cbx_Compare->click(); });
    timed("show-differences", "choose \"только различия\"", [&] {
        window.cb_Show->setCurrentIndex(kOnlyDifferences);
        window.cb_ShowChange();
    });
    window.cb_Show->setCurrentIndex(0);
    window.cb_ShowChange();
    timed("find-letter", "type one letter in \"Найти\"", [&] {
        window.ed_Find->setText("1");
        window.ed_FindChange();
    });
    window.ClearFind();
    timed("voltage", "choose a voltage class", [&] {
        window.cb_Unom->setCurrentIndex(1);
        window.cb_UnomChange();
    });
    window.close();
    QAccessible::setActive(false);
}

Report RunSize(int count, std::uint32_t seed, const std::string& emptyDb, const fs::path& work, std::ostream* raw,
               const std::string& self, const Selection& measured, const std::string& server) {
    Report report(count, raw);
    const std::string tag = std::to_string(count);
    const std::string xmlPath = (work / ("catalogue-" + tag + ".xml")).string();
    const std::string dbPath = (work / ("catalogue-" + tag + ".fdb")).string();
    const std::string floorDbPath = (work / ("floor-" + tag + ".fdb")).string();
    const RegionalSettings settings;
    const NumberText numbers = settings.Numbers();
    TRef_DataModule db;

    // 6. Save N new elements to a catalogue database.
    std::unique_ptr<TReference> generated;
    const double generating = Seconds([&] { generated = GenerateCatalogue(count, seed); });
    report.Note("generated", "generated " + std::to_string(generated->TotalCount()) + " elements in " +
                                 std::to_string(generating) + " s");
    const SaveTimes saved = TimeSaves(*generated, emptyDb, dbPath, floorDbPath, "", db, numbers);
    if (saved.failed) report.Note("save-errors", std::to_string(saved.failed) + " records failed to save");

    // The same catalogue as an exchange file (in the generator's order, unsorted).
    WriteExchangeFile(*generated, xmlPath, settings, std::time(nullptr));
    generated.reset();

    // 1. Open an exchange file into a container.
    const double openXml = BestOpen(5, xmlPath, db);
    // The fastest parse pugixml offers: the file read whole, parsed in place
    // with no conversions.
    const double parseXml = BestOf(5, [&] {
        std::ifstream in(xmlPath, std::ios::binary | std::ios::ate);
        const std::size_t size = static_cast<std::size_t>(in.tellg());
        auto buffer = std::make_unique_for_overwrite<char[]>(size);
        in.seekg(0);
        in.read(buffer.get(), static_cast<std::streamsize>(size));
        pugi::xml_document doc;
        if (!doc.load_buffer_inplace(buffer.get(), size, pugi::parse_minimal | pugi::parse_embed_pcdata))
            throw std::runtime_error("pugixml cannot read " + xmlPath);
    });
    report.Add({"open-xml", "open exchange file (floor: fastest pugixml parse)", openXml, parseXml});

    // Spreadsheets, each against the exchange file: writing the same
    // catalogue, and opening it.
    if (measured("spreadsheets")) {
        const std::unique_ptr<TReference> catalogue = OpenSource(xmlPath, db, NewReference);
        const std::string again = (work / ("again-" + tag + ".xml")).string();
        const double writeXml = BestOf(3, [&] { WriteExchangeFile(*catalogue, again, settings, std::time(nullptr)); });
        for (const std::string format : {"xlsx", "csv"}) {
            const std::string path = (work / ("catalogue-" + tag + "." + format)).string();
            const double writing = BestOf(3, [&] { WriteCatalogueFile(*catalogue, path, settings, std::time(nullptr)); });
            report.Add({"save-" + format, "write " + format + " (floor: write exchange file)", writing, writeXml});
            report.Add({"open-" + format, "open " + format + " (floor: open exchange file)", BestOpen(3, path, db), openXml});
        }
    }

    // 2. Open a catalogue database into a container.
    const auto [openDb, readDb] = TimeOpens(dbPath, db);
    report.Add({"open-db", "open catalogue database (floor: select *)", openDb, readDb});

    // Comparing two catalogues, the collections' indexes built on the way:
    // the same elements in another order, and a catalogue generated apart.
    if (measured("compare")) {
        auto compare = [&](std::unique_ptr<TReference> right, const char* key, const char* title) {
            const std::unique_ptr<TReference> left = OpenSource(xmlPath, db, NewReference);
            std::unique_ptr<CatalogueComparison> comparison;
            const double comparing =
                Seconds([&] { comparison = std::make_unique<CatalogueComparison>(*left, *right); });
            report.Add({key, title, comparing, -1});
            int absent = 0, changed = 0;
            for (int c = 0; c < left->CategoryCount(); ++c) {
                absent += comparison->LeftCounts(c).absent + comparison->RightCounts(c).absent;
                changed += comparison->LeftCounts(c).changed;
            }
            report.Note(std::string(key) + "-states", std::string(key) + ": absent " + std::to_string(absent) +
                                                          ", changed " + std::to_string(changed));
            return comparing;
        };
        compare(OpenSource(dbPath, db, NewReference), "compare", "compare with the same catalogue (database)");
        compare(GenerateCatalogue(count, seed + 1), "compare-other", "compare with another catalogue");
        // The same catalogue with every `step`-th element changed in a value outside its identity.
        auto changedEvery = [&](int step, const char* value) {
            std::unique_ptr<TReference> changed = OpenSource(xmlPath, db, NewReference);
            for (int c = 0; c < changed->CategoryCount(); ++c) {
                TXMLCustomClass& collection = *changed->GetCollection(c);
                const std::vector<int>& identity = collection.IdentityFields();
                int field = -1;
                for (int f = 0; f < collection.FieldCount() && field < 0; ++f)
                    if (collection.Field(f).kind == FieldKind::Number && !collection.Field(f).Is(RowId) &&
                        std::find(identity.begin(), identity.end(), f) == identity.end())
                        field = f;
                if (field < 0) continue;
                for (int i = 0; i < collection.Count(); i += step)
                    collection.SetFieldText(*collection.GetItem(i), field, value);
                collection.RecordsChanged();
            }
            return changed;
        };
        const double comparingChanged = compare(changedEvery(10, "0.123"), "compare-changed",
                                                "compare with the same catalogue, every tenth element changed");
        // Three catalogues: ours with every tenth element changed, theirs
        // with every seventh changed otherwise (every seventieth a conflict).
        const std::unique_ptr<TReference> base = OpenSource(xmlPath, db, NewReference);
        const std::unique_ptr<TReference> ours = changedEvery(10, "0.123"), theirs = changedEvery(7, "0.456");
        std::unique_ptr<CatalogueMerge> merge;
        const double merging = Seconds([&] { merge = std::make_unique<CatalogueMerge>(*base, *ours, *theirs); });
        report.Add({"merge", "merge three catalogues (floor: compare with every tenth changed)", merging,
                    comparingChanged});
        report.Note("merge-elements", "merge: " + std::to_string(merge->Elements().size()) + " elements, " +
                                          std::to_string(merge->ConflictCount()) + " conflicts");
    }

    // The check of a whole catalogue: every record against its dialog's
    // limits and its category's rules, and every identity counted.
    if (measured("check")) {
        const std::unique_ptr<TReference> checked = OpenSource(xmlPath, db, NewReference);
        std::size_t findings = 0;
        const double checking = BestOf(3, [&] { findings = CheckCatalogue(*checked, numbers).size(); });
        report.Add({"check", "check the catalogue", checking, -1});
        report.Note("check-findings", "check: " + std::to_string(findings) + " findings");
    }

    // 3. Build the tree of the opened catalogue.
    ShownWindow shown(settings, db);
    TForm1& window = shown.window;
    SkipRemembered& answers = shown.answers;
    if (!window.OpenPath(Pane::Left, QString::fromStdString(xmlPath))) throw std::runtime_error("cannot open " + xmlPath);
    QApplication::processEvents();
    window.BuildTree(window.LeftTree, nullptr);
    const double building = Seconds([&] {
        window.BuildTree(window.LeftTree, window.LeftRef());
        QApplication::processEvents();
    });
    report.Add({"tree", "build the tree (offscreen window)", building, -1});

    // 4. Drop the whole left catalogue onto an empty right pane.
    auto dropAll = [&] {
        window.LeftTree->clearSelection();
        window.LeftTree->selectionModel()->select(window.LeftTree->Root(), QItemSelectionModel::Select);
        return Seconds([&] {
            window.RightTreeDragDrop(window.LeftTree);
            QApplication::processEvents();
        });
    };
    if (measured("drop-empty")) {
        const double dropEmpty = dropAll();
        report.Add({"drop-empty", "drop everything onto an empty pane", dropEmpty, -1});
        report.Note("drop-empty-copies", "copies made " + std::to_string(window.RightRef()->TotalCount()) +
                                             ", questions " + std::to_string(answers.asked));
        // Taking the whole drop back and making it again ("Правка"); the copies stay for the save below.
        const double undoing = Seconds([&] {
            window.btnUndo->trigger();
            QApplication::processEvents();
        });
        report.Add({"undo-drop", "undo the drop", undoing, -1});
        const double redoing = Seconds([&] {
            window.btnRedo->trigger();
            QApplication::processEvents();
        });
        report.Add({"redo-drop", "redo the drop", redoing, -1});
    } else {  // the right pane still gets the whole catalogue for the save below
        window.OpenPath(Pane::Right, QString::fromStdString(xmlPath));
    }

    // 5. Save the right pane to an exchange file.
    const std::string savedPath = (work / ("saved-" + tag + ".xml")).string();
    const std::string floorPath = (work / ("floor-" + tag + ".xml")).string();
    const double writing = Seconds([&] { WriteExchangeFile(*window.RightRef(), savedPath, settings, std::time(nullptr)); });
    pugi::xml_document shape;
    shape.load_file(savedPath.c_str());
    const double floorWriting = Seconds([&] { WriteLikeDocument(shape, floorPath); });
    report.Add({"save-xml", "save the right pane as exchange file (floor: pugixml)", writing, floorWriting});
    report.Add({"save-db", "save N new elements to a database (floor: inserts, one commit)", saved.save, saved.floor});

    // 4. Drop again onto a right pane holding the same catalogue, "Пропустить" remembered.
    if (!window.OpenPath(Pane::Right, QString::fromStdString(dbPath))) throw std::runtime_error("cannot open " + dbPath);
    QApplication::processEvents();
    const int before = window.RightRef()->TotalCount();
    answers.asked = 0;
    const double dropSame = dropAll();
    report.Add({"drop-same", "drop everything onto the same catalogue", dropSame, -1});
    report.Note("drop-same-copies", "copies made " + std::to_string(window.RightRef()->TotalCount() - before) +
                                        ", questions " + std::to_string(answers.asked));
    window.close();
    // The embedded engine gives a database file to one process at a time.
    db.SQLConnection.Disconnect();

    // The window's answers with both panes full, against a catalogue generated apart.
    if (measured("window")) {
        const std::string otherPath = (work / ("other-" + tag + ".xml")).string();
        WriteExchangeFile(*GenerateCatalogue(count, seed + 1), otherPath, settings, std::time(nullptr));
        for (bool accessible : {false, true}) TimeWindow(report, xmlPath, otherPath, db, accessible);
    }

    // 7. Peak memory of a window holding the catalogue in both panes.
    const std::string command = "'" + self + "' memory '" + xmlPath + "' '" + dbPath + "'";
    long peakKb = -1;
    if (FILE* child = popen(command.c_str(), "r")) {
        if (std::fscanf(child, "%ld", &peakKb) != 1) peakKb = -1;
        pclose(child);
    }
    report.Add({"memory", "peak memory, both panes", peakKb / 1024.0, -1, "MB"});

    // 8. The same open and save through a database server on this machine.
    if (!server.empty()) {
        const auto [openServer, readServer] = TimeOpens(server + ":" + dbPath, db);
        report.Add({"open-db-server", "open catalogue database on a server (floor: select *)", openServer, readServer});
        std::unique_ptr<TReference> again = GenerateCatalogue(count, seed);
        const std::string serverDbPath = (work / ("server-" + tag + ".fdb")).string();
        const std::string serverFloorPath = (work / ("server-floor-" + tag + ".fdb")).string();
        const SaveTimes onServer = TimeSaves(*again, emptyDb, serverDbPath, serverFloorPath, server, db, numbers);
        if (onServer.failed)
            report.Note("save-server-errors", std::to_string(onServer.failed) + " records failed to save");
        report.Add({"save-db-server", "save N new elements on a server (floor: inserts)", onServer.save, onServer.floor});

        // 9. The same server behind a slower network: opening and saving
        // against the local file, and the round trips each takes.
        if (measured("relay") && count <= 20000) {  // at 100,000 a 10 ms network takes minutes
            const int serverPort = std::stoi(server.substr(server.find('/') + 1));
            for (const int ms : {1, 10}) {
                Relay relay(serverPort, std::chrono::milliseconds(ms));
                const std::string through = "localhost/" + std::to_string(relay.Port());
                const std::string key = std::to_string(ms) + "ms";
                long before = relay.RoundTrips();
                const double open = BestOpen(1, through + ":" + dbPath, db);
                const long opening = relay.RoundTrips() - before;
                report.Add({"open-db-relay-" + key, "open database, " + key + " round trip (floor: file)", open, openDb});
                const std::string relayDbPath = (work / ("relay-" + key + "-" + tag + ".fdb")).string();
                CopyFile(emptyDb, relayDbPath);
                std::unique_ptr<TReference> copy = GenerateCatalogue(count, seed);
                db.ConnectTo(through + ":" + relayDbPath);
                int failed = 0;
                before = relay.RoundTrips();
                const double save = Seconds([&] { failed = SaveDatabase(*copy, db, numbers); });
                const long saving = relay.RoundTrips() - before;
                db.SQLConnection.Disconnect();
                report.Add({"save-db-relay-" + key, "save N new, " + key + " round trip (floor: file)", save, saved.save});
                report.Note("relay-" + key + "-round-trips", "round trips at " + key + ": open " +
                                                                std::to_string(opening) + ", save " +
                                                                std::to_string(saving) + ", failed " +
                                                                std::to_string(failed));
            }
        }
    }
    return report;
}

int Memory(const std::string& left, const std::string& right) {
    const RegionalSettings settings;
    TRef_DataModule db;
    TForm1 window(settings);
    window.SetDataModule(&db);
    window.show();
    QApplication::processEvents();
    if (!window.OpenPath(Pane::Left, QString::fromStdString(left))) return 1;
    if (!window.OpenPath(Pane::Right, QString::fromStdString(right))) return 1;
    // With the comparison the window makes ahead while nothing happens.
    while (window.ComparingAhead()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    std::cout << PeakMemoryKb() << std::endl;
    return 0;
}

int Run(const std::vector<std::string>& args, const std::string& self) {
    if (args.size() == 3 && args[0] == "memory") return Memory(args[1], args[2]);
    std::vector<int> counts;
    std::uint32_t seed = 1;
    std::string emptyDb, work, results, server;
    Selection measured;
    for (std::size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--count") counts.push_back(std::stoi(args[i + 1]));
        else if (args[i] == "--seed") seed = static_cast<std::uint32_t>(std::stoul(args[i + 1]));
        else if (args[i] == "--template") emptyDb = args[i + 1];
        else if (args[i] == "--work") work = args[i + 1];
        else if (args[i] == "--results") results = args[i + 1];
        else if (args[i] == "--skip") measured.skipped.push_back(args[i + 1]);
        else if (args[i] == "--server") server = args[i + 1];
        else throw std::invalid_argument("unknown option " + args[i]);
    }
    if (emptyDb.empty() || work.empty())
        throw std::invalid_argument("usage: kelm-bench --template EMPTY.fdb --work DIR [--count N ...] [--seed S] [--results FILE] [--skip FIGURE ...] [--server HOST/PORT]");
    if (counts.empty()) counts.push_back(20000);
    fs::create_directories(work);
    std::ofstream raw;
    if (!results.empty()) raw.open(results, std::ios::app);
    std::vector<Report> reports;
    for (int count : counts)
        reports.push_back(RunSize(count, seed, fs::absolute(emptyDb).string(), fs::absolute(work), raw ? &raw : nullptr, self,
                                   measured, server));
    // Growth from the smallest to the largest size, against n log n.
    if (counts.size() > 1) {
        const double n0 = counts.front(), n1 = counts.back();
        const double nlogn = n1 * std::log(n1) / (n0 * std::log(n0));
        for (const char* key : {"tree", "drop-empty", "compare", "compare-other", "compare-changed", "merge"}) {
            const std::string figure = key;
            if (!measured(figure.starts_with("compare") || figure == "merge" ? "compare" : key)) continue;
            const double growth = reports.back().Time(key) / reports.front().Time(key);
            char line[200];
            std::snprintf(line, sizeof line, "growth %-10s N=%d -> %d: x%.2f (n log n: x%.2f)", key, counts.front(),
                          counts.back(), growth, nlogn);
            std::cout << line << std::endl;
            if (raw) raw << line << "\n";
        }
    }
    return 0;
}

}  // namespace
}  // namespace kelm::bench

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return kelm::bench::Run(args, std::filesystem::read_symlink("/proc/self/exe").string());
    } catch (const std::exception& error) {
        std::cerr << "kelm-bench: " << error.what() << std::endl;
        return 1;
    }
}
