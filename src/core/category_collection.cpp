#include "core/category_collection.h"

namespace kelm::detail {

std::string_view ElementText(pugi::xml_node element, std::string& joined) {
    auto isText = [](pugi::xml_node node) {
        return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
    };
    // A document parsed to keep an element's first text as its value
    // (exchange files are) has no node for it.
    const std::string_view own = element.value();
    pugi::xml_node child = element.first_child();
    if (!child) return own;  // the usual field
    if (own.empty() && !child.next_sibling() && isText(child)) return child.value();
    joined.assign(own);
    for (; child; child = child.next_sibling())
        if (isText(child)) joined += child.value();
    return joined;
}

std::string ReplaceOwners(const std::string& statement, const std::string& owners) {
    std::string text = statement;
    const std::size_t at = text.find("%S");
    if (at != std::string::npos) text.replace(at, 2, owners);
    return text;
}

void ThrowFieldError(pugi::xml_node record, pugi::xml_node field, const std::string& problem) {
    throw XmlFieldError(std::string("элемент \"") + record.name() + "\", поле \"" + field.name() + "\": " + problem,
                        field.offset_debug());
}

}  // namespace kelm::detail
