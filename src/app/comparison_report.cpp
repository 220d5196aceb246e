#include "app/comparison_report.h"

#include <algorithm>
#include <ostream>
#include <tuple>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "decisions/merge.h"

namespace kelm {
namespace {

std::string Escaped(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

constexpr const char* kStyle =
    "body{font-family:sans-serif;font-size:10pt;margin:1em}"
    "table{border-collapse:collapse;margin-bottom:1.5em}"
    "th,td{border:1px solid #999;padding:2px 4px;text-align:left;vertical-align:top}"
    "th{background:#eee}"
    "tr.left td.action{color:#a00}tr.right td.action{color:#070}"
    "td.changed{background:#ffe08a;font-weight:bold}"
    "h2{font-size:12pt;page-break-after:avoid}"
    "@media print{*{-webkit-print-color-adjust:exact;print-color-adjust:exact}table{page-break-inside:auto}"
    "tr{page-break-inside:avoid}}";

// An unset value is written as nothing; a report says so visibly.
constexpr const char* kUnset = "—";

}  // namespace

std::string ValueText(const TXMLCustomClass& collection, const TBaseElement& record, int field,
                      const NumberText& numbers) {
    const std::string text = collection.FieldText(record, field, numbers);
    return collection.IsFieldSet(record, field) && !text.empty() ? text : kUnset;
}

std::vector<ReportedElement> DifferingElements(const CatalogueComparison& comparison, const TReference& left,
                                               const TReference& right, int c, const NumberText& numbers) {
    const CategoryComparison& category = comparison.Category(c);
    const TXMLCustomClass& l = *left.GetCollection(c);
    const TXMLCustomClass& r = *right.GetCollection(c);
    std::vector<ReportedElement> elements;
    for (const TBaseElement* record : category.onlyLeft)
        elements.push_back({Utf8FromCp1251(l.Label(*record, numbers)), '<', record, nullptr});
    for (const TBaseElement* record : category.onlyRight)
        elements.push_back({Utf8FromCp1251(r.Label(*record, numbers)), '>', record, nullptr});
    for (const ElementPair& pair : category.pairs)
        if (pair.Changed()) elements.push_back({Utf8FromCp1251(l.Label(*pair.left, numbers)), '~', pair.left, &pair});
    std::stable_sort(elements.begin(), elements.end(), [](const ReportedElement& a, const ReportedElement& b) {
        return std::tie(a.label, a.mark) < std::tie(b.label, b.mark);
    });
    return elements;
}

void WriteDifferenceList(const CatalogueComparison& comparison, const TReference& left, const TReference& right,
                         const NumberText& numbers, std::ostream& out) {
    for (int c = 0; c < comparison.CategoryCount(); ++c) {
        if (comparison.Category(c).Same()) continue;
        const TXMLCustomClass& l = *left.GetCollection(c);
        const TXMLCustomClass& r = *right.GetCollection(c);
        out << CategoryCaption(c) << "\n";
        for (const ReportedElement& element : DifferingElements(comparison, left, right, c, numbers)) {
            out << "  " << element.mark << " " << element.label << "\n";
            if (!element.pair) continue;
            for (int field : element.pair->fields)
                out << "      " << l.Field(field).caption << ": " << ValueText(l, *element.pair->left, field, numbers)
                    << " → " << ValueText(r, *element.pair->right, field, numbers) << "\n";
        }
    }
}

void WriteDifferenceSummary(const CatalogueComparison& comparison, std::ostream& out) {
    for (int c = 0; c < comparison.CategoryCount(); ++c) {
        const CategoryComparison& category = comparison.Category(c);
        if (category.Same()) continue;
        out << CategoryCaption(c) << ": только в левом " << category.onlyLeft.size() << ", только в правом "
            << category.onlyRight.size() << ", изменено " << category.changed << "\n";
    }
}

void WriteHtmlReport(const CatalogueComparison& comparison, const TReference& left, const TReference& right,
                     const NumberText& numbers, const ReportHeading& heading, std::ostream& out) {
    out << "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"ru\">\n<head>\n"
           "<meta charset=\"utf-8\"/>\n<title>Сравнение справочников</title>\n<style>"
        << kStyle << "</style>\n</head>\n<body>\n<h1>Сравнение справочников</h1>\n<p>Левый: " << Escaped(heading.left)
        << "<br/>Правый: " << Escaped(heading.right) << "<br/>Дата: " << Escaped(heading.date) << "</p>\n";
    if (comparison.Same()) out << "<p>Справочники совпадают.</p>\n";
    for (int c = 0; c < comparison.CategoryCount(); ++c) {
        if (comparison.Category(c).Same()) continue;
        const TXMLCustomClass& l = *left.GetCollection(c);
        const TXMLCustomClass& r = *right.GetCollection(c);
        const std::vector<int> fields = ComparedFields(l);
        out << "<h2>" << Escaped(CategoryCaption(c)) << "</h2>\n<table>\n<thead><tr><th>!</th><th>Элемент</th>";
        for (int field : fields) out << "<th>" << Escaped(l.Field(field).caption) << "</th>";
        out << "</tr></thead>\n<tbody>\n";
        for (const ReportedElement& element : DifferingElements(comparison, left, right, c, numbers)) {
            const char* kind = element.mark == '<' ? "left" : element.mark == '>' ? "right" : "changed";
            const char* action = element.mark == '<' ? "---" : element.mark == '>' ? "+++" : "-&gt;";
            const TXMLCustomClass& own = element.mark == '>' ? r : l;
            out << "<tr class=\"" << kind << "\"><td class=\"action\">" << action << "</td><td>"
                << Escaped(element.label) << "</td>";
            for (int field : fields) {
                const std::string value = ValueText(own, *element.record, field, numbers);
                const bool changed = element.pair && std::find(element.pair->fields.begin(), element.pair->fields.end(),
                                                               field) != element.pair->fields.end();
                if (changed)
                    out << "<td class=\"changed\">" << Escaped(value) << "→"
                        << Escaped(ValueText(r, *element.pair->right, field, numbers)) << "</td>";
                else
                    out << "<td>" << Escaped(value) << "</td>";
            }
            out << "</tr>\n";
        }
        out << "</tbody>\n</table>\n";
    }
    out << "</body>\n</html>\n";
}

namespace {

// A side without the element: the base before it was added, a side that deleted it.
std::string SideText(const TXMLCustomClass& collection, const TBaseElement* record, int field, bool isBase,
                     const NumberText& numbers) {
    if (!record) return isBase ? "нет" : "удалён";
    return ValueText(collection, *record, field, numbers);
}

}  // namespace

void WriteMergeList(const CatalogueMerge& merge, const TReference& ours, const NumberText& numbers,
                    std::ostream& out) {
    struct Listed {
        std::string label;
        char mark;
        const MergeElement* element;
    };
    const std::vector<MergeElement>& elements = merge.Elements();
    for (std::size_t first = 0; first < elements.size();) {
        const int c = elements[first].category;
        const TXMLCustomClass& collection = *ours.GetCollection(c);
        std::vector<Listed> listed;
        for (; first < elements.size() && elements[first].category == c; ++first) {
            const MergeElement& element = elements[first];
            listed.push_back({Utf8FromCp1251(collection.Label(element.Shown(), numbers)), ActionMark(element.action),
                              &element});
        }
        std::stable_sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) {
            return std::tie(a.label, a.mark) < std::tie(b.label, b.mark);
        });
        out << CategoryCaption(c) << "\n";
        for (const Listed& one : listed) {
            out << "  " << one.mark << " " << one.label << "\n";
            const MergeElement& element = *one.element;
            for (int field : element.fields) {
                out << "      " << collection.Field(field).caption << ": ";
                if (element.IsConflict())
                    out << SideText(collection, element.base, field, true, numbers) << " → "
                        << SideText(collection, element.ours, field, false, numbers) << " | "
                        << SideText(collection, element.theirs, field, false, numbers) << "\n";
                else
                    out << ValueText(collection, *element.ours, field, numbers) << " → "
                        << ValueText(collection, *element.theirs, field, numbers) << "\n";
            }
        }
    }
}

}  // namespace kelm
