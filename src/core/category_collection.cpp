#include "core/category_collection.h"

namespace kelm::detail {

std::string ElementText(pugi::xml_node element) {
    std::string text;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
    return text;
}

std::string ReplaceOwners(const std::string& statement, const std::string& owners) {
    std::string text = statement;
    const std::size_t at = text.find("%S");
    if (at != std::string::npos) text.replace(at, 2, owners);
    return text;
}

void ThrowFieldError(pugi::xml_node record, pugi::xml_node field, const std::string& problem) {
    throw XmlFieldError(std::string("element \"") + record.name() + "\", field \"" + field.name() + "\": " + problem,
                        field.offset_debug());
}

}  // namespace kelm::detail
