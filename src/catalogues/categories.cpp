#include "catalogues/categories.h"

#include <cstring>

#include "catalogues/arresters.h"
#include "catalogues/busbars.h"
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

namespace kelm {
namespace {

template <class C>
std::unique_ptr<TXMLCustomClass> Make() {
    return std::make_unique<C>();
}

}  // namespace

const std::array<CategoryEntry, kCategoryCount>& Categories() {
    static const std::array<CategoryEntry, kCategoryCount> categories = {{
        {0, "TProvods", "Провода и кабели", "провода и кабели", Make<TProvods>},
        {1, "TTransforms", "Трансформаторы двухобмоточные", "трансф. двухобмоточные", Make<TTransforms>},
        {2, "TTransforms3", "Трансформаторы трехобмоточные", "трансф. трехобмоточные", Make<TTransforms3>},
        {3, "TTransformsSS", "Трансф. c расщепл. обмоткой", "трансф. c расщепл. обмоткой", Make<TTransformsSS>},
        {4, "TTransformsA", "Автотрансформаторы", "автотрансформаторы", Make<TTransformsA>},
        {5, "TBusbars", "Шины подстанций", "шины подстанций", Make<TBusbars>},
        {6, "TShuntReactors", "Шунтирующие реакторы", "шунтирующие реакторы", Make<TShuntReactors>},
        {7, "TSyncCondensers", "Синхронные компенсаторы", "синхронные компенсаторы", Make<TSyncCondensers>},
        {8, "TCapacitorBanks", "Конденсаторные батареи", "конденсаторные батареи", Make<TCapacitorBanks>},
        {9, "TTiristorCondensers", "Тиристорные компенсаторы", "тиристорные компенсаторы", Make<TTiristorCondensers>},
        {10, "TSyncMotors", "Синхронные двигатели", "синхронные двигатели", Make<TSyncMotors>},
        {11, "TAsyncMotors", "Асинхронные двигатели", "асинхронные двигатели", Make<TAsyncMotors>},
        {12, "TValveArresters", "Вентильные разрядники", "вентильные разрядники", Make<TValveArresters>},
        {13, "TExcessVoltageSuppressors", "ОПН разрядники", "ОПН разрядники", Make<TExcessVoltageSuppressors>},
        {14, "TCurrentLimitReactorsRefs", "Токоогранич. реакторы", "токоогранич. реакторы",
         Make<TCurrentLimitReactorsRefs>},
        {15, "TSwitchGRs", "Коммутационные аппараты", "коммутационные аппараты", Make<TSwitchGRs>},
        {16, "TMetersRefs", "Марки счетчиков", "марки счетчиков", Make<TMetersRefs>},
        {17, "TTransformsIRefs", "Измерит. трансф. тока", "измерит. трансф. тока", Make<TTransformsIRefs>},
        {18, "TTransformsVRefs", "Измерит. трансф. напряжения", "измерит. трансф. напряжения", Make<TTransformsVRefs>},
    }};
    return categories;
}

std::unique_ptr<TReference> NewReference() {
    std::vector<std::unique_ptr<TXMLCustomClass>> collections;
    for (const auto& category : Categories()) collections.push_back(category.make());
    return std::make_unique<TReference>(std::move(collections));
}

const char* CategoryCaption(int index) {
    if (index < 0 || index >= kCategoryCount) return "";
    return Categories()[static_cast<std::size_t>(index)].caption;
}

const char* CaptionOfCollection(const TXMLCustomClass& collection) {
    for (const auto& category : Categories())
        if (std::strcmp(category.collectionClass, collection.ClassName()) == 0) return category.caption;
    return "";
}

}  // namespace kelm
