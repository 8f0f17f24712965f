// The catalogue's rows and their layout into the block. Rows stand exactly as
// callers know them, by index: repetitions and odd pairings (AF twice in Asia,
// Tbilisi under CY, Gaborone under CD) are kept on purpose.
#include "timezone/catalogue.h"

#include <cstring>
#include <iterator>

namespace vx::tz {
namespace {

// One country: its code and its locations, separated by single spaces.
struct Country {
    const char *code;
    const char *zones;
};

// clang-format off
constexpr Country kAsia[] = {
    {"AE", "Dubai"}, {"AF", "Kabul"}, {"AM", "Yerevan"}, {"AF", "Kabul"}, {"AZ", "Baku"},
    {"BD", "Dhaka"}, {"BH", "Bahrain"}, {"BN", "Brunei"}, {"BT", "Thimphu"},
    {"CN", "Shanghai Harbin Chongqing Urumqi Kashgar"}, {"CY", "Tbilisi"}, {"GE", "Thimphu"},
    {"HK", "Hong_Kong"}, {"ID", "Jakarta Pontianak Makassar Jayapura"}, {"IL", "Jerusalem"},
    {"IN", "Kolkata"}, {"IQ", "Baghdad"}, {"IR", "Tehran"}, {"JP", "Tokyo"}, {"JO", "Amman"},
    {"KG", "Bishkek"}, {"KH", "Phnom_Penh"}, {"KP", "Pyongyang"}, {"KR", "Seoul"},
    {"KW", "Kuwait"}, {"KZ", "Almaty Qyzylorda Aqtobe Aqtau Oral"}, {"LA", "Vientiane"},
    {"LB", "Beirut"}, {"LK", "Colombo"}, {"MM", "Rangoon"}, {"MN", "Ulaanbaatar Hovd Choibalsan"},
    {"MO", "Macau"}, {"MY", "Kuala_Lumpur Kuching"}, {"NP", "Kathmandu"}, {"OM", "Muscat"},
    {"PH", "Manila"}, {"PK", "Karachi"}, {"PS", "Gaza Hebron"}, {"QA", "Qatar"},
    {"RU", "Yekaterinburg Omsk Novosibirsk Novokuznetsk Krasnoyarsk Irkutsk Yakutsk "
           "Vladivostok Sakhalin Magadan Kamchatka Anadyr"},
    {"SA", "Riyadh"}, {"SG", "Singapore"}, {"SY", "Damascus"}, {"TH", "Bangkok"},
    {"TJ", "Dushanbe"}, {"TL", "Dili"}, {"TM", "Ashgabat"}, {"TW", "Taipei"},
    {"UZ", "Samarkand Tashkent"}, {"VN", "Ho_Chi_Minh"}, {"YE", "Aden"},
};

constexpr Country kAmerica[] = {
    {"AG", "Antigua"}, {"AI", "Anguilla"},
    {"AR", "Argentina/Buenos_Aires Argentina/Cordoba Argentina/Salta Argentina/Jujuy "
           "Argentina/Tucuman Argentina/Catamarca Argentina/La_Rioja Argentina/San_Juan "
           "Argentina/Mendoza Argentina/San_Luis Argentina/Rio_Gallegos Argentina/Ushuaia"},
    {"AW", "Aruba"}, {"BB", "Barbados"}, {"BL", "St_Barthelemy"}, {"BO", "La_Paz"},
    {"BQ", "Kralendijk"},
    {"BR", "Noronha Belem Fortaleza Recife Araguaina Maceio Bahia Sao_Paulo Campo_Grande "
           "Cuiaba Santarem Porto_Velho Boa_Vista Manaus Eirunepe Rio_Branco"},
    {"BS", "Nassau"}, {"BZ", "Belize"},
    {"CA", "St_Johns Halifax Glace_Bay Moncton Goose_Bay Blanc-Sablon Montreal Toronto "
           "Nipigon Thunder_Bay Iqaluit Pangnirtung Resolute Atikokan Rankin_Inlet Winnipeg "
           "Rainy_River Regina Swift_Current Edmonton Cambridge_Bay Yellowknife Inuvik "
           "Creston Dawson_Creek Vancouver Whitehorse Dawson"},
    {"CL", "Santiago"}, {"CO", "Bogota"}, {"CR", "Costa_Rica"}, {"CU", "Havana"},
    {"CW", "Curacao"}, {"DM", "Dominica"}, {"DO", "Santo_Domingo"}, {"EC", "Guayaquil"},
    {"GD", "Grenada"}, {"GF", "Cayenne"}, {"GL", "Godthab Danmarkshavn Scoresbysund Thule"},
    {"GP", "Guadeloupe"}, {"GT", "Guatemala"}, {"GY", "Guyana"}, {"HN", "Tegucigalpa"},
    {"HT", "Port-au-Prince"}, {"JM", "Jamaica"}, {"KN", "St_Kitts"}, {"KY", "Cayman"},
    {"LC", "St_Lucia"}, {"MF", "Marigot"}, {"MQ", "Martinique"}, {"MS", "Montserrat"},
    {"MX", "Mexico_City Cancun Merida Monterrey Matamoros Mazatlan Chihuahua Ojinaga "
           "Hermosillo Tijuana Santa_Isabel Bahia_Banderas"},
    {"NI", "Managua"}, {"PA", "Panama"}, {"PE", "Lima"}, {"PM", "Miquelon"},
    {"PR", "Puerto_Rico"}, {"PY", "Asuncion"}, {"SR", "Paramaribo"}, {"SV", "El_Salvador"},
    {"SX", "Lower_Princes"}, {"TC", "Grand_Turk"}, {"TT", "Port_of_Spain"},
    {"US", "New_York Detroit Kentucky/Louisville Kentucky/Monticello Indiana/Indianapolis "
           "Indiana/Vincennes Indiana/Winamac Indiana/Marengo Indiana/Petersburg Indiana/Vevay "
           "Indiana/Tell_City Indiana/Knox Chicago Menominee North_Dakota/Center "
           "North_Dakota/New_Salem North_Dakota/Beulah Denver Boise Shiprock Phoenix "
           "Los_Angeles Anchorage Juneau Sitka Yakutat Nome Adak Metlakatla"},
    {"UY", "Montevideo"}, {"VC", "St_Vincent"}, {"VE", "Caracas"}, {"VG", "Tortola"},
    {"VI", "St_Thomas"},
};

constexpr Country kAfrica[] = {
    {"AO", "Luanda"}, {"BF", "Ouagadougou"}, {"BI", "Bujumbura"}, {"BJ", "Porto-Novo"},
    {"CD", "Gaborone Kinshasa"}, {"CF", "Lubumbashi"}, {"CG", "Brazzaville"},
    {"CI", "Abidjan"}, {"CM", "Douala"}, {"DJ", "Djibouti"}, {"DZ", "Algiers"},
    {"EG", "Cairo"}, {"EH", "El_Aaiun"}, {"ER", "Asmara"}, {"ES", "Ceuta"},
    {"ET", "Addis_Ababa"}, {"GA", "Libreville"}, {"GH", "Accra"}, {"GM", "Banjul"},
    {"GN", "Conakry"}, {"GQ", "Malabo"}, {"GW", "Bissau"}, {"KE", "Nairobi"},
    {"LR", "Monrovia"}, {"LS", "Maseru"}, {"LY", "Tripoli"}, {"MA", "Casablanca"},
    {"ML", "Bamako"}, {"MR", "Nouakchott"}, {"MW", "Blantyre"}, {"MZ", "Maputo"},
    {"NA", "Windhoek"}, {"NE", "Niamey"}, {"NG", "Lagos"}, {"RW", "Kigali"},
    {"SD", "Khartoum"}, {"SL", "Freetown"}, {"SN", "Dakar"}, {"SO", "Mogadishu"},
    {"SS", "Juba"}, {"ST", "Sao_Tome"}, {"SZ", "Mbabane"}, {"TD", "Ndjamena"},
    {"TG", "Lome"}, {"TN", "Tunis"}, {"TZ", "Dar_es_Salaam"}, {"UG", "Kampala"},
    {"ZA", "Johannesburg"}, {"ZM", "Lusaka"}, {"ZW", "Harare"},
};

constexpr Country kAntarctica[] = {
    {"AQ", "McMurdo South_Pole Rothera Palmer Mawson Davis Casey Vostok DumontDUrville "
           "Syowa Macquarie"},
};

constexpr Country kAustralia[] = {
    {"AU", "Lord_Howe Hobart Currie Melbourne Sydney Broken_Hill Brisbane Lindeman "
           "Adelaide Darwin Perth Eucla"},
};

constexpr Country kAtlantic[] = {
    {"BM", "Bermuda"}, {"CV", "Cape_Verde"}, {"ES", "Canary"}, {"FK", "Stanley"},
    {"FO", "Faroe"}, {"GS", "South_Georgia"}, {"IS", "Reykjavik"}, {"PT", "Madeira Azores"},
    {"SH", "St_Helena"}, {"SJ", "Longyearbyen"},
};

constexpr Country kEurope[] = {
    {"AD", "Andorra"}, {"AL", "Tirane"}, {"AT", "Vienna"}, {"AX", "Mariehamn"},
    {"BA", "Sarajevo"}, {"BE", "Brussels"}, {"BG", "Sofia"}, {"BY", "Minsk"},
    {"CH", "Zurich"}, {"CZ", "Prague"}, {"DE", "Berlin"}, {"DK", "Copenhagen"},
    {"EE", "Tallinn"}, {"ES", "Madrid"}, {"FI", "Helsinki"}, {"FR", "Paris"},
    {"GB", "London"}, {"GG", "Guernsey"}, {"GI", "Gibraltar"}, {"GR", "Athens"},
    {"HR", "Zagreb"}, {"HU", "Budapest"}, {"IE", "Dublin"}, {"IM", "Isle_of_Man"},
    {"IT", "Rome"}, {"JE", "Jersey"}, {"LI", "Vaduz"}, {"LT", "Vilnius"},
    {"LU", "Luxembourg"}, {"LV", "Riga"}, {"MC", "Monaco"}, {"MD", "Chisinau"},
    {"ME", "Podgorica"}, {"MK", "Skopje"}, {"MT", "Malta"}, {"NL", "Amsterdam"},
    {"NO", "Oslo"}, {"PL", "Warsaw"}, {"PT", "Lisbon"}, {"RO", "Bucharest"},
    {"RS", "Belgrade"}, {"RU", "Kaliningrad Moscow Volgograd Samara"}, {"SE", "Stockholm"},
    {"SI", "Ljubljana"}, {"SK", "Bratislava"}, {"SM", "San_Marino"}, {"TR", "Istanbul"},
    {"UA", "Kiev Uzhgorod Zaporozhye Simferopol"}, {"VA", "Vatican"},
};

constexpr Country kPacific[] = {
    {"AS", "Pago_Pago"}, {"CK", "Rarotonga"}, {"CL", "Easter"}, {"EC", "Galapagos"},
    {"FJ", "Fiji"}, {"FM", "Chuuk Pohnpei Kosrae"}, {"GU", "Guam"},
    {"KI", "Tarawa Enderbury Kiritimati"}, {"MH", "Majuro Kwajalein"}, {"MP", "Saipan"},
    {"NC", "Noumea"}, {"NF", "Norfolk"}, {"NR", "Nauru"}, {"NU", "Niue"},
    {"NZ", "Auckland Chatham"}, {"PF", "Tahiti Marquesas Gambier"}, {"PG", "Port_Moresby"},
    {"PN", "Pitcairn"}, {"PW", "Palau"}, {"SB", "Guadalcanal"}, {"TK", "Fakaofo"},
    {"TO", "Tongatapu"}, {"TV", "Funafuti"}, {"UM", "Johnston Midway Wake"},
    {"US", "Honolulu"}, {"VU", "Efate"}, {"WF", "Wallis"}, {"WS", "Apia"},
};

constexpr Country kIndian[] = {
    {"CC", "Cocos"}, {"CX", "Christmas"}, {"IO", "Chagos"}, {"KM", "Comoro"},
    {"MG", "Antananarivo"}, {"MU", "Mauritius"}, {"MV", "Maldives"}, {"RE", "Reunion"},
    {"SC", "Mahe"}, {"TF", "Kerguelen"}, {"YT", "Mayotte"},
};

struct Region {
    const char *name;
    const Country *countries;
    std::size_t count;
};

template <std::size_t N>
constexpr Region region(const char *name, const Country (&countries)[N]) {
    return {name, countries, N};
}

constexpr Region kTable[] = {
    region("Asia", kAsia),           region("America", kAmerica),
    region("Africa", kAfrica),       region("Antarctica", kAntarctica),
    region("Australia", kAustralia), region("Atlantic", kAtlantic),
    region("Europe", kEurope),       region("Pacific", kPacific),
    region("Indian", kIndian),
};
// clang-format on

// Compile-time guard: every row fits its slots and fields with a terminator.
constexpr std::size_t TextLength(const char *s) {
    std::size_t n = 0;
    while (s[n] != '\0') ++n;
    return n;
}

constexpr bool fits(const Region &r) {
    if (TextLength(r.name) >= kRegionNameWidth || r.count > kCountrySlots) return false;
    for (std::size_t c = 0; c < r.count; ++c) {
        if (TextLength(r.countries[c].code) >= kCodeWidth) return false;
        std::size_t zones = 1, run = 0;
        for (const char *p = r.countries[c].zones; *p != '\0'; ++p) {
            if (*p == ' ') {
                if (run == 0) return false;
                ++zones;
                run = 0;
            } else if (++run >= kLocationWidth) {
                return false;
            }
        }
        if (run == 0 || zones > kZoneSlots) return false;
    }
    return true;
}

constexpr bool AllFit() {
    for (const Region &r : kTable)
        if (!fits(r)) return false;
    return true;
}

static_assert(std::size(kTable) == kRegions, "nine regions");
static_assert(AllFit(), "a catalogue row overflows its slot or field");

void PutInt32(unsigned char *at, std::size_t value) {
    auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Copies a name into its zero-filled field, keeping at least one zero byte.
void PutText(unsigned char *field, std::size_t width, const char *text, std::size_t length) {
    std::memcpy(field, text, length < width ? length : width - 1);
}

struct Block {
    unsigned char bytes[kBlockSize] = {};

    Block() {
        for (std::size_t r = 0; r < kRegions; ++r) {
            const Region &reg = kTable[r];
            PutInt32(bytes + RegionOffset(r), r);
            PutText(bytes + RegionNameOffset(r), kRegionNameWidth, reg.name, TextLength(reg.name));
            for (std::size_t c = 0; c < reg.count; ++c) {
                const Country &cty = reg.countries[c];
                PutInt32(bytes + CountryOffset(r, c), c);
                PutText(bytes + CodeOffset(r, c), kCodeWidth, cty.code, TextLength(cty.code));
                std::size_t z = 0;
                for (const char *p = cty.zones; *p != '\0'; ++z) {
                    std::size_t n = std::strcspn(p, " ");
                    PutInt32(bytes + ZoneOffset(r, c, z), z);
                    PutText(bytes + LocationOffset(r, c, z), kLocationWidth, p, n);
                    p += n;
                    if (*p == ' ') ++p;
                }
            }
        }
    }
};

}  // namespace

const unsigned char *block() {
    static const Block laid_out;  // built once, thread-safe
    return laid_out.bytes;
}

}  // namespace vx::tz
