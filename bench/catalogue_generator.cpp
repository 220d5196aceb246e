#include "bench/catalogue_generator.h"

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "catalogues/arresters.h"
#include "catalogues/busbars.h"
#include "catalogues/categories.h"
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
#include "core/codec.h"

namespace kelm::bench {
namespace {

// Share of each category in a catalogue, per cent, in category order.
constexpr int kShare[kCategoryCount] = {20, 14, 5, 4, 3, 3, 2, 2, 3, 1, 3, 6, 2, 3, 3, 12, 8, 4, 2};

// One exact copy (comment included) in this many elements.
constexpr int kDuplicateEvery = 70;

std::string W(const std::string& utf8) { return Cp1251FromUtf8(utf8); }

// Voltages and decimals as a catalogue writes them in a mark: "0,4", "10".
std::string Text(double value) { return W(NumberText(',').Format(value)); }
std::string Text(int value) { return std::to_string(value); }

// Not std::uniform_*_distribution: their results differ between libraries.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    int Below(std::size_t n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }
    bool Chance(double p) { return Unit() < p; }
    // A value near `typical` (within ±spread, relative), rounded to `decimals`.
    double Near(double typical, double spread, int decimals) {
        const double value = typical * (1 + spread * (2 * Unit() - 1));
        const double scale = std::pow(10.0, decimals);
        return std::round(value * scale) / scale;
    }
    template <class T>
    const T& Pick(const std::vector<T>& values) {
        return values[static_cast<std::size_t>(Below(values.size()))];
    }
    std::string PickText(const std::vector<const char*>& utf8) { return W(utf8[Below(utf8.size())]); }

private:
    double Unit() { return engine_() / 4294967296.0; }
    std::mt19937 engine_;
};

const std::vector<const char*> kFactories = {
    "ОАО «Электрозавод»", "Тольяттинский трансформатор", "ЗАО «ЗЭТО»", "Уралэлектротяжмаш",
    "ОАО «Свердловский завод трансформаторов тока»", "ООО «Энергомера»", "НПК «Инкотекс»", "Эльстер Метроника",
};

// A comment in about one element of `every`; most elements have none.
std::string Comment(Random& random, const std::vector<const char*>& comments, int every) {
    return random.Below(static_cast<std::size_t>(every)) == 0 ? random.PickText(comments) : std::string();
}

// --- Lines and cables --------------------------------------------------------

// Conductor types are numbered in the order they first appear, as a database
// save of the same catalogue numbers them.
class ProvodTypes {
public:
    std::int16_t Of(double unom, const std::string& name, std::int16_t flags) {
        const auto key = std::make_tuple(unom, name, flags);
        const auto found = types_.find(key);
        if (found != types_.end()) return found->second;
        const auto ident = static_cast<std::int16_t>(types_.size() + 1);
        types_.emplace(key, ident);
        return ident;
    }

private:
    std::map<std::tuple<double, std::string, std::int16_t>, std::int16_t> types_;
};

void FillProvod(TProvod& r, Random& random, ProvodTypes& types) {
    static const std::map<int, double> steel = {{16, 2.7},  {25, 4.2},  {35, 6.2},  {50, 8},    {70, 11},
                                                {95, 16},   {120, 19},  {150, 24},  {185, 29},  {240, 32},
                                                {300, 39},  {400, 51},  {500, 64},  {600, 72}};
    static const std::vector<const char*> comments = {"ГОСТ 839-80", "ТУ 16.К71-120-91", "повышенной прочности",
                                                      "для районов с гололёдом", "резерв", "морское исполнение"};
    const bool cable = random.Chance(0.4);
    if (!cable) {
        static const std::vector<std::string> series = {"АС", "АСК", "АСКП", "АСКС", "АСО", "АСУ", "АпС", "АСВП",
                                                        "АСк2у", "А", "АН", "АЖ", "М", "МГ", "ПС", "ПСО"};
        static const std::vector<const char*> variants = {
            "", "", "", "-ХЛ", "-Т", "-У1", "-УХЛ1", "-ОЖ", "-П", " ТУ 16-705.472", " ГОСТ 839", " ТУ 3511",
            " (Кирскабель)", " (Севкабель)", " (Электрокабель)", " (Энергокабель)", " изол.", " компакт.",
            " повыш. прочн.", " грозотрос", " (зап.)", " (рез.)"};
        static const std::vector<double> voltages = {0.4, 6, 10, 20, 35, 110, 150, 220, 330, 500, 750};
        static const std::vector<int> sections = {16, 25, 35, 50, 70, 95, 120, 150, 185, 240, 300, 400, 500, 600};
        const std::string name = random.Pick(series);
        const int f = random.Pick(sections);
        r.Marka = W(name) + "-" + Text(f);
        if (name.find("С") != std::string::npos) r.Marka += "/" + Text(steel.at(f));  // steel-cored
        r.Marka += random.PickText(variants);
        r.Unom = random.Pick(voltages);
        r.Name = "ac";
        r.CableFlags = 0;
        r.F = f;
        r.R0 = random.Near(28.8 / f, 0.03, 4);
        r.X0 = random.Near(0.42, 0.06, 3);
        if (r.Unom >= 35) r.B0 = random.Near(2.7, 0.05, 2);
        r.Idop = static_cast<std::int16_t>(random.Near(11 * std::pow(f, 0.72), 0.05, 0));
    } else {
        static const std::vector<const char*> series = {"ААБл", "ААШв", "АВВГ", "ВВГ", "АПвП", "АПвПу", "ААБ2л", "СБл",
                                                        "АСБ", "ААШп", "ПвП", "АПвВ", "ВБбШв", "АВБбШв", "ЦАСБ", "СИП-4"};
        static const std::vector<const char*> insulations = {"", "", "нг", "нг-LS", "нг(А)-LS", "-ХЛ", "-Т"};
        static const std::vector<double> voltages = {0.4, 0.4, 0.66, 6, 10, 20, 35};
        static const std::vector<int> sections = {10, 16, 25, 35, 50, 70, 95, 120, 150, 185, 240};
        const int f = random.Pick(sections);
        r.Unom = random.Pick(voltages);
        const bool lowVoltage = r.Unom < 1;
        static const std::vector<const char*> makers = {"", "", " (Севкабель)", " (Кирскабель)", " (Электрокабель)",
                                                        " (Камкабель)", " (Рыбинсккабель)", " (Иркутсккабель)",
                                                        " (Москабель)", " (Таткабель)"};
        r.Marka = random.PickText(series) + random.PickText(insulations) + " " +
                  random.PickText(lowVoltage ? std::vector<const char*>{"4х", "5х", "3х"} : std::vector<const char*>{"3х", "1х"}) +
                  Text(f);
        if (!lowVoltage) r.Marka += "-" + Text(r.Unom);
        r.Marka += random.PickText(makers);
        r.Name = W("кабель");
        r.CableFlags = kCableFlag;
        r.F = f;
        r.R0 = random.Near(30.0 / f, 0.03, 4);
        r.X0 = random.Near(lowVoltage ? 0.0625 : 0.09, 0.1, 4);
        if (!lowVoltage) r.B0 = random.Near(90, 0.2, 1);
        if (random.Chance(0.3)) r.TgDelta = 0.01;
        r.Idop = static_cast<std::int16_t>(random.Near(7.5 * std::pow(f, 0.8), 0.05, 0));
        if (lowVoltage && f >= 25 && random.Chance(0.5)) {  // a null conductor thinner than the phases
            r.PhaseNull_F = f / 2;
            r.PhaseNull_R0 = random.Near(60.0 / f, 0.03, 4);
            r.PhaseNull_X0 = r.X0;
            r.PhaseNull_Idop = static_cast<std::int16_t>(r.Idop / 2);
            r.NumberPhases = 3;
        }
    }
    r.ProvodType = types.Of(r.Unom, r.Name, r.CableFlags);
    r.AddStr = Comment(random, comments, 10);
}

// --- Power transformers ------------------------------------------------------

const std::vector<const char*> kTransformerComments = {
    "с РПН", "ПБВ ±2х2,5%", "масляный, герметичный", "сухой", "завод «Электрозавод»", "ОАО «Укрэлектроаппарат»",
    "Тольяттинский трансформатор", "с расщеплённой обмоткой НН"};
const std::vector<const char*> kClimates = {"", "", "", "-У1", "-УХЛ1", "-Т1", "-ХЛ1"};

// A two-winding transformer's voltage class with its series, ratings and windings.
struct TransformerClass {
    double unom;
    std::vector<const char*> series;
    std::vector<int> ratings;  // kV·A
    std::vector<double> highSide, lowSide;
    double uk;
};

void FillTransform(TTransform& r, Random& random) {
    static const std::vector<TransformerClass> classes = {
        {6, {"ТМ", "ТМГ", "ТМЗ", "ТСЗ"}, {25, 40, 63, 100, 160, 250, 400, 630, 1000}, {6, 6.3}, {0.4, 0.23}, 4.5},
        {10, {"ТМ", "ТМГ", "ТМЗ", "ТСЗ", "ТМН"}, {25, 40, 63, 100, 160, 250, 400, 630, 1000, 1600, 2500}, {10, 10.5}, {0.4, 0.69}, 5.5},
        {20, {"ТМ", "ТМН", "ТД"}, {630, 1000, 1600, 2500, 4000, 6300}, {20, 21}, {0.4, 6.3, 10.5}, 6.5},
        {35, {"ТМ", "ТМН", "ТД", "ТДН"}, {1000, 1600, 2500, 4000, 6300, 10000, 16000}, {35, 36.75, 38.5}, {6.3, 10.5, 11}, 7.5},
        {110, {"ТДН", "ТД", "ТМН", "ТДЦ"}, {2500, 6300, 10000, 16000, 25000, 40000, 63000, 80000}, {115, 121}, {6.6, 11, 22}, 10.5},
        {150, {"ТДН", "ТДЦ"}, {16000, 32000, 63000}, {158, 165}, {6.6, 11}, 11},
        {220, {"ТДН", "ТДЦ", "ТЦ"}, {32000, 40000, 63000, 80000, 125000, 200000}, {230, 242}, {6.6, 11, 13.8, 15.75}, 12},
        {330, {"ТДЦ", "ТЦ"}, {125000, 200000, 250000, 400000}, {347}, {10.5, 13.8, 15.75, 20}, 11},
        {500, {"ТДЦ", "ТЦ", "ОРЦ"}, {250000, 400000, 630000}, {525}, {15.75, 20, 24}, 13},
    };
    const TransformerClass& c = random.Pick(classes);
    const std::string series = random.PickText(c.series);
    const int snom = random.Pick(c.ratings);
    r.Marka = series + "-" + Text(snom) + "/" + Text(c.unom) + random.PickText(kClimates);
    r.Unom = c.unom;
    r.Snom = snom;
    r.UnomB = random.Pick(c.highSide);
    r.UnomH = random.Pick(c.lowSide);
    r.Uk = random.Near(c.uk, 0.05, 1);
    r.Pxx = random.Near(2.2 * std::pow(snom, 0.72) / 10, 0.1, 2);
    r.Pkz = random.Near(6.0 * std::pow(snom, 0.82) / 10, 0.1, 2);
    r.Ixx = random.Near(std::max(0.2, 3.2 - 0.55 * std::log10(snom)), 0.1, 2);
    if (series.find(W("Н")) != std::string::npos) {  // on-load tap changer
        r.NumberOtp = random.Chance(0.8) ? 9 : 8;
        r.DeltaUotp = r.NumberOtp == 9 ? 1.78 : 1.5;
    } else if (random.Chance(0.7)) {  // off-circuit taps
        r.NumberOtp = 2;
        r.DeltaUotp = 2.5;
    }
    r.AddStr = Comment(random, kTransformerComments, 7);
}

template <class R>
void FillThreeWinding(R& r, Random& random, bool autotransformer) {
    struct Windings {
        double unom;
        double b, c, h;
    };
    static const std::vector<Windings> ordinary = {{35, 36.75, 10.5, 6.3}, {110, 115, 38.5, 11}, {110, 115, 38.5, 6.6},
                                                   {150, 158, 38.5, 11},   {220, 230, 38.5, 11}};
    static const std::vector<Windings> autos = {{220, 230, 121, 11},  {220, 230, 121, 38.5}, {330, 330, 115, 10.5},
                                                {500, 500, 230, 11},  {750, 750, 330, 15.75}};
    static const std::vector<int> ratings = {6300, 10000, 16000, 25000, 40000, 63000, 80000, 125000, 200000, 250000};
    static const std::vector<const char*> series = {"ТДТН", "ТМТН", "ТДЦТН", "ТДТ"};
    static const std::vector<const char*> autoSeries = {"АТДЦТН", "АТДТН", "АОДЦТН", "АТДЦН"};
    const Windings& w = random.Pick(autotransformer ? autos : ordinary);
    const int snom = random.Pick(ratings);
    r.Marka = random.PickText(autotransformer ? autoSeries : series) + "-" + Text(snom) + "/" + Text(w.unom);
    if (autotransformer) r.Marka += "/" + Text(w.c);
    r.Marka += random.PickText(kClimates);
    r.Unom = w.unom;
    r.Snom = snom;
    r.UnomB = w.b;
    r.UnomC = w.c;
    r.UnomH = w.h;
    r.Pxx = random.Near(2.5 * std::pow(snom, 0.72) / 10, 0.1, 2);
    r.Ixx = random.Near(std::max(0.2, 3.0 - 0.55 * std::log10(snom)), 0.1, 2);
    const double pkz = random.Near(6.5 * std::pow(snom, 0.82) / 10, 0.1, 1);
    r.PkzBC = pkz;
    r.PkzBH = autotransformer ? random.Near(pkz * 0.9, 0.05, 1) : pkz;
    r.PkzCH = autotransformer ? random.Near(pkz * 0.85, 0.05, 1) : pkz;
    r.UkBC = random.Near(autotransformer ? 11 : 10.5, 0.03, 1);
    r.UkBH = random.Near(autotransformer ? 35 : 17.5, 0.03, 1);
    r.UkCH = random.Near(autotransformer ? 22 : 6.5, 0.03, 1);
    if (random.Chance(0.8)) {
        r.SobmB = 100;
        r.SobmC = 100;
        r.SobmH = autotransformer ? 50 : (random.Chance(0.7) ? 100 : 66.7);
    }
    r.NumberOtpB = 9;
    r.DeltaUotpB = 1.78;
    if (random.Chance(0.4)) {
        r.NumberOtpC = 2;
        r.DeltaUotpC = 2.5;
    }
    r.AddStr = Comment(random, kTransformerComments, 7);
}

void FillTransformSS(TTransformSS& r, Random& random) {
    static const std::vector<std::tuple<double, double>> windings = {{35, 36.75}, {110, 115}, {150, 158}, {220, 230}};
    static const std::vector<int> ratings = {16000, 25000, 32000, 40000, 63000, 80000, 100000};
    static const std::vector<const char*> series = {"ТРДН", "ТРДНС", "ТРДЦН", "ТРДНФ"};
    const auto [unom, high] = random.Pick(windings);
    const int snom = random.Pick(ratings);
    r.Marka = random.PickText(series) + "-" + Text(snom) + "/" + Text(unom) + random.PickText(kClimates);
    r.Unom = unom;
    r.Snom = snom;
    r.UnomB = high;
    r.UnomH1 = r.UnomH2 = random.Pick(std::vector<double>{6.3, 6.6, 10.5, 11});
    r.UkBH = random.Near(10.5, 0.05, 1);
    r.UkHH = random.Near(30, 0.05, 1);
    r.Pxx = random.Near(2.0 * std::pow(snom, 0.72) / 10, 0.1, 2);
    r.Pkz = random.Near(6.0 * std::pow(snom, 0.82) / 10, 0.1, 1);
    r.Ixx = random.Near(std::max(0.2, 3.0 - 0.55 * std::log10(snom)), 0.1, 2);
    r.NumberOtp = 9;
    r.DeltaUotp = 1.78;
    r.AddStr = Comment(random, kTransformerComments, 7);
}

// --- Station equipment -------------------------------------------------------

void FillBusbar(TBusbar& r, Random& random) {
    static const std::vector<const char*> series = {"ШМА", "ШМА4", "ШРА", "ШЗК", "КЗШ", "ТЗК"};
    static const std::vector<int> currents = {250, 400, 630, 1000, 1250, 1600, 2500, 3200, 4000};
    const int current = random.Pick(currents);
    r.Marka = random.PickText(series) + "-" + Text(current);
    r.Unom = random.Pick(std::vector<double>{0.4, 0.66, 6, 10});
    r.R = random.Near(30.0 / current, 0.1, 4);
    r.X = random.Near(0.017, 0.3, 4);
}

void FillShuntReactor(TShuntReactor& r, Random& random) {
    static const std::vector<std::tuple<double, double>> ratings = {{35, 20},  {110, 25},  {220, 33.3}, {330, 60},
                                                                    {500, 60}, {500, 180}, {750, 110}};
    const auto [unom, snom] = random.Pick(ratings);
    r.Marka = random.PickText({"РОДЦ", "РТД", "РОМ", "РОДБ"}) + "-" + Text(static_cast<int>(snom * 1000)) + "/" + Text(unom);
    r.Unom = unom;
    r.Snom = snom;
    r.Inom = std::round(snom * 1000 / (std::sqrt(3.0) * unom));
    r.dP = random.Near(snom * 3.5, 0.1, 3);
}

template <class R>
void FillCompensator(R& r, Random& random, const std::vector<const char*>& series, const std::vector<double>& voltages,
                     const std::vector<double>& ratings, double lossPerUnit) {
    r.Unom = random.Pick(voltages);
    r.Snom = random.Pick(ratings);
    r.Marka = random.PickText(series) + "-" + Text(r.Snom) + "-" + Text(r.Unom);
    if (random.Chance(0.2)) r.Marka += W(" УХЛ1");
    r.dP = random.Near(lossPerUnit, 0.2, 6);
}

template <class R>
void FillMotor(R& r, Random& random, const std::vector<const char*>& series, const std::vector<double>& voltages,
               const std::vector<double>& powers) {
    static const std::vector<int> speeds = {3000, 1500, 1000, 750, 600, 500, 375};
    r.Unom = random.Pick(voltages);
    r.Pnom = random.Pick(powers);
    r.n = static_cast<std::int16_t>(random.Pick(speeds));
    r.Marka = random.PickText(series) + "-" + Text(r.Pnom) + "-" + Text(6000 / r.n);  // poles
    if (random.Chance(0.85)) r.Performance = random.Near(0.95, 0.02, 3);
    if (random.Chance(0.85)) r.CosFi = random.Near(0.88, 0.04, 2);
}

template <class R>
void FillArrester(R& r, Random& random, const std::vector<const char*>& series) {
    static const std::vector<double> voltages = {3, 6, 10, 35, 110, 150, 220, 330, 500};
    r.Unom = random.Pick(voltages);
    r.Marka = random.PickText(series) + "-" + Text(r.Unom) + random.PickText({"", "", "М", "/77/10/550 УХЛ1", " УХЛ2"});
    r.dP = random.Near(0.02 * r.Unom, 0.2, 5);
}

void FillReactor(TCurrentLimitReactorsRef& r, Random& random) {
    static const std::vector<int> currents = {400, 630, 1000, 1600, 2500, 4000};
    static const std::vector<const char*> resistances = {"0,14", "0,2", "0,25", "0,35", "0,45", "0,56"};
    const bool twin = random.Chance(0.3);
    const int current = random.Pick(currents);
    r.Unom = random.Pick(std::vector<double>{6, 10, 20});
    r.Snom = random.PickText(resistances);
    r.Marka = random.PickText(twin ? std::vector<const char*>{"РБСД", "РБСГ"} : std::vector<const char*>{"РБА", "РБГ", "РБУ"}) +
              "-" + Text(r.Unom) + "-" + (twin ? "2" + W("х") : "") + Text(current) + "-" + r.Snom;
    r.Inom = current;
    r.dP = random.Near(current * 0.012, 0.1, 2);
    r.IsDouble = twin ? 1 : 0;
}

// --- Switching devices and meters -------------------------------------------

void FillSwitch(TSwitchGR& r, Random& random, std::map<std::string, std::int16_t>& types) {
    struct Kind {
        const char* name;
        std::vector<const char*> series;
    };
    static const std::vector<Kind> kinds = {
        {"выключатель", {"ВМП", "ВВЭ", "ВГТ", "ВБЭ", "ВМТ", "ВЭБ", "ВВБ"}},
        {"разъединитель", {"РНДЗ-1", "РНДЗ-2", "РНДЗ-1б", "РЛНД", "РЛНД-1", "РДЗ", "РДЗ-2", "РВ", "РВЗ", "РВРЗ", "РГ", "РГП"}},
        {"отделитель", {"ОД", "ОДЗ", "ОДЗ-1", "ОДЗ-2"}},
        {"короткозамыкатель", {"КЗ", "КРН", "КЗ-2"}},
        {"выключатель нагрузки", {"ВНА", "ВНР", "ВНПу", "ВНАп", "ВНТ"}},
    };
    static const std::vector<double> voltages = {6, 10, 35, 110, 220, 330, 500};
    static const std::vector<int> currents = {400, 630, 1000, 1600, 2000, 2500, 3150};
    static const std::vector<const char*> comments = {"элегазовый", "вакуумный", "с приводом ПП-67", "ремонтный"};
    const Kind& kind = random.Pick(kinds);
    r.Name = W(kind.name);
    const auto known = types.emplace(r.Name, static_cast<std::int16_t>(types.size() + 1)).first;
    r.SwitchGType = known->second;
    r.Unom = random.Pick(voltages);
    const int current = random.Pick(currents);
    const int breaking = random.Pick(std::vector<int>{20, 25, 31, 40, 50});
    r.Marka = random.PickText(kind.series) + "-" + Text(r.Unom) + "-" + Text(breaking) + "/" + Text(current) +
              random.PickText(kClimates);
    r.Inom = current / 1000.0;
    if (std::string(kind.name).rfind("выключатель", 0) == 0) {
        r.Ioff = breaking;
        r.Toff = random.Near(0.05, 0.2, 3);
        r.Ton = random.Near(0.1, 0.2, 3);
    }
    r.Id = std::round(breaking * 25.5) / 10;  // peak withstand current
    if (random.Chance(0.8)) r.It = random.Near(breaking, 0.05, 1);
    r.AddStr = Comment(random, comments, 10);
}

void FillMeter(TMetersRef& r, Random& random) {
    static const std::vector<const char*> marks = {"СЭТ-4ТМ.03М", "Меркурий 230 ART-01", "ЦЭ6803В", "Альфа А1800",
                                                   "ПСЧ-4ТМ.05М", "СА4-И678", "Энергомера CE301", "Меркурий 234",
                                                   "СЭБ-1ТМ.02", "ЕвроАЛЬФА"};
    static const std::vector<const char*> voltages = {"3х57,7/100", "3х220/380", "220", "3х100"};
    r.Marka = random.PickText(marks) + random.PickText({"", ".01", ".02", ".08", " R", " RL"});
    r.UnomText = random.PickText(voltages);
    r.Power = static_cast<std::int16_t>(1 + random.Below(3));
    r.Reverse = static_cast<std::int16_t>(random.Below(2));
    r.AccuracyClass = static_cast<std::int16_t>(1 + random.Below(6));
    if (random.Chance(0.3)) r.RevoCount = static_cast<std::int16_t>(random.Pick(std::vector<int>{450, 600, 1250, 2500}));
    r.NumberCount = static_cast<std::int16_t>(random.Pick(std::vector<int>{6, 7, 8}));
    r.CalibrationInterval = static_cast<std::int16_t>(random.Pick(std::vector<int>{4, 8, 10, 12, 16}));
    r.ServiceLife = 30;
    if (random.Chance(0.7)) r.Manufacturer = random.PickText(kFactories);
    r.Inom = static_cast<std::int16_t>(random.Pick(std::vector<int>{1, 5, 10}));
    if (random.Chance(0.6)) r.TariffCount = static_cast<std::int16_t>(1 + random.Below(8));
    r.WorkTemperatureLow = -40;
    r.WorkTemperatureHigh = 60;
    r.Sensitivity = random.Pick(std::vector<double>{0.001, 0.002, 0.004});
    r.Capacity = random.Near(1.5, 0.3, 1);
    r.Pu = random.Near(0.8, 0.3, 1);
    r.Si = random.Near(0.1, 0.3, 2);
    r.PrefailureLife = random.Pick(std::vector<int>{90000, 140000, 165000, 220000});
}

template <class R>
void FillInstrumentTransformer(R& r, Random& random) {
    r.AccuracyClass = static_cast<std::int16_t>(1 + random.Below(5));
    if (random.Chance(0.8)) r.Manufacturer = random.PickText(kFactories);
    if (random.Chance(0.6)) r.PrefailureLife = random.Pick(std::vector<int>{200000, 250000, 400000});
    if (random.Chance(0.8)) {
        r.WorkTemperatureLow = -45;
        r.WorkTemperatureHigh = 40;
    }
}

void FillCurrentTransformer(TTransformsIRef& r, Random& random) {
    static const std::vector<int> primary = {50, 75, 100, 150, 200, 300, 400, 600, 800, 1000, 1500, 2000, 3000};
    r.Unom = random.Pick(std::vector<double>{0.66, 10, 35, 110, 220});
    r.I1nom = static_cast<std::int16_t>(random.Pick(primary));
    r.I2nom = static_cast<std::int16_t>(random.Chance(0.8) ? 5 : 1);
    r.Marka = random.PickText({"ТОЛ", "ТПЛ", "ТФЗМ", "ТВ", "ТШЛ", "ТЛК", "ТОП"}) + "-" + Text(r.Unom) + "-" +
              Text(r.I1nom) + "/" + Text(r.I2nom);
    if (random.Chance(0.9)) r.RatedLoad = random.Pick(std::vector<double>{5, 10, 15, 20, 30});
    FillInstrumentTransformer(r, random);
}

void FillVoltageTransformer(TTransformsVRef& r, Random& random) {
    r.Unom = random.Pick(std::vector<double>{0.38, 3, 6, 10, 15, 20});
    r.UnomB = static_cast<std::int16_t>(std::lround(r.Unom * 1000));
    r.UnomH = random.Pick(std::vector<double>{100, 57.735, 33.333});
    r.Marka = random.PickText({"НАМИ", "ЗНОЛ.06", "НТМИ", "ЗНОМ", "НОЛ", "НАМИТ"}) + "-" + Text(r.Unom) +
              random.PickText({"", "-66", " У3", " УХЛ2"});
    if (random.Chance(0.5)) r.VoltageDrop = random.Near(1.5, 0.3, 2);
    FillInstrumentTransformer(r, random);
}

// Makes `count` elements in collection C, each filled by `fill`; now and then
// an exact copy of an earlier one instead.
template <class C, class Fill>
void Generate(TReference& reference, int index, int count, Random& random, Fill fill) {
    auto& collection = static_cast<C&>(*reference.GetCollection(index));
    for (int i = 0; i < count; ++i) {
        auto* record = collection.NewElement();
        if (i > 0 && random.Below(kDuplicateEvery) == 0)
            CopyValues(*collection.GetItem(random.Below(static_cast<std::size_t>(i))), record);
        else
            fill(*record);
        record->Ident = -1;
        record->Added = 1;
    }
}

}  // namespace

std::unique_ptr<TReference> GenerateCatalogue(int count, std::uint32_t seed) {
    auto reference = NewReference();
    Random random(seed);
    int counts[kCategoryCount];
    int given = 0;
    for (int c = 0; c < kCategoryCount; ++c) given += counts[c] = count * kShare[c] / 100;
    counts[0] += count - given;  // lines take what rounding left over

    ProvodTypes provodTypes;
    std::map<std::string, std::int16_t> switchTypes;
    auto& r = *reference;
    Generate<TProvods>(r, 0, counts[0], random, [&](TProvod& x) { FillProvod(x, random, provodTypes); });
    Generate<TTransforms>(r, 1, counts[1], random, [&](TTransform& x) { FillTransform(x, random); });
    Generate<TTransforms3>(r, 2, counts[2], random, [&](TTransform3& x) { FillThreeWinding(x, random, false); });
    Generate<TTransformsSS>(r, 3, counts[3], random, [&](TTransformSS& x) { FillTransformSS(x, random); });
    Generate<TTransformsA>(r, 4, counts[4], random, [&](TTransformA& x) { FillThreeWinding(x, random, true); });
    Generate<TBusbars>(r, 5, counts[5], random, [&](TBusbar& x) { FillBusbar(x, random); });
    Generate<TShuntReactors>(r, 6, counts[6], random, [&](TShuntReactor& x) { FillShuntReactor(x, random); });
    Generate<TSyncCondensers>(r, 7, counts[7], random, [&](TSyncCondenser& x) {
        FillCompensator(x, random, {"КСВБ", "КСВБО", "КС", "КСВ"}, {6.3, 10.5, 11, 15.75, 20}, {10, 16, 32, 50, 100, 160, 320},
                        12);
    });
    Generate<TCapacitorBanks>(r, 8, counts[8], random, [&](TCapacitorBank& x) {
        FillCompensator(x, random, {"УКЛ", "УКРМ", "КРМ", "БСК"}, {0.4, 6, 10, 35, 110}, {0.1, 0.45, 0.9, 1.8, 5.4, 13.5, 52},
                        0.0035);
    });
    Generate<TTiristorCondensers>(r, 9, counts[9], random, [&](TTiristorCondenser& x) {
        FillCompensator(x, random, {"СТК", "СТК-М"}, {10, 35, 110, 220, 500}, {25, 50, 100, 160}, 0.004);
    });
    Generate<TSyncMotors>(r, 10, counts[10], random, [&](TSyncMotor& x) {
        FillMotor(x, random, {"СТД", "СДН", "СДНЗ", "СД"}, {6, 10}, {630, 800, 1000, 1250, 1600, 2000, 3150, 5000, 8000, 12500});
    });
    Generate<TAsyncMotors>(r, 11, counts[11], random, [&](TAsyncMotor& x) {
        FillMotor(x, random, {"АИР", "4А", "А4", "ДАЗО4", "АО2", "5АМ"}, {0.38, 0.66, 6, 10},
                  {0.75, 1.5, 3, 5.5, 11, 22, 37, 55, 90, 160, 250, 400, 630, 1000, 2000});
        if (random.Chance(0.7)) x.Slip = random.Near(2.5, 0.4, 2);
    });
    Generate<TValveArresters>(r, 12, counts[12], random, [&](TValveArrester& x) { FillArrester(x, random, {"РВС", "РВО", "РВМГ", "РВМ"}); });
    Generate<TExcessVoltageSuppressors>(r, 13, counts[13], random, [&](TExcessVoltageSuppressor& x) {
        FillArrester(x, random, {"ОПН-П", "ОПН-РК", "ОПНп", "ОПН-КР"});
    });
    Generate<TCurrentLimitReactorsRefs>(r, 14, counts[14], random, [&](TCurrentLimitReactorsRef& x) { FillReactor(x, random); });
    Generate<TSwitchGRs>(r, 15, counts[15], random, [&](TSwitchGR& x) { FillSwitch(x, random, switchTypes); });
    Generate<TMetersRefs>(r, 16, counts[16], random, [&](TMetersRef& x) { FillMeter(x, random); });
    Generate<TTransformsIRefs>(r, 17, counts[17], random, [&](TTransformsIRef& x) { FillCurrentTransformer(x, random); });
    Generate<TTransformsVRefs>(r, 18, counts[18], random, [&](TTransformsVRef& x) { FillVoltageTransformer(x, random); });
    return reference;
}

}  // namespace kelm::bench
