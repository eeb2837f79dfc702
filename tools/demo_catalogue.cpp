#include "demo_catalogue.h"

#include <array>
#include <vector>

namespace pylon::demo {

namespace {

struct ProductRow {
    const char* designation;
    int reference;
    qint64 priceCents;
    bool divisible;
};

const ProductRow kProducts[] = {
    {"Ramette papier A4 80g", 1203, 4500, false},
    {"Ramette papier A3 80g", 1204, 9500, false},
    {"Ramette papier couleur A4 assortie", 1210, 6200, false},
    {"Cartouche encre noire", 2101, 18000, false},
    {"Cartouche encre couleur", 2102, 21000, false},
    {"Toner laser noir", 2150, 65000, false},
    {"Classeur à levier", 3010, 1850, false},
    {"Chemise cartonnée", 3020, 120, false},
    {"Sous-chemise", 3021, 60, false},
    {"Chemise à élastiques", 3025, 600, false},
    {"Porte-documents 40 vues", 3030, 4000, false},
    {"Stylo à bille bleu", 4001, 250, false},
    {"Stylo à bille rouge", 4002, 250, false},
    {"Crayon à papier HB", 4010, 150, false},
    {"Gomme blanche", 4020, 200, false},
    {"Taille-crayon métal", 4021, 300, false},
    {"Marqueur permanent noir", 4030, 850, false},
    {"Surligneur jaune fluo", 4031, 600, false},
    {"Agrafeuse de bureau", 5001, 4500, false},
    {"Boîte d'agrafes 24/6", 5002, 650, false},
    {"Trombones (boîte de 100)", 5010, 400, false},
    {"Ruban adhésif transparent", 5020, 450, false},
    {"Colle en bâton 21 g", 5021, 500, false},
    {"Ciseaux de bureau", 5030, 1500, false},
    {"Règle plate 30 cm", 5031, 300, false},
    {"Cahier 96 pages grands carreaux", 6001, 550, false},
    {"Cahier 192 pages", 6002, 900, false},
    {"Registre 300 pages", 6010, 4800, false},
    {"Bloc-notes A5", 6020, 700, false},
    {"Notes repositionnables 76x76", 6021, 1200, false},
    {"Carnet de factures dupli", 6030, 3500, false},
    {"Enveloppes kraft C4 (boîte de 250)", 7001, 12000, false},
    {"Enveloppes blanches DL (boîte de 500)", 7002, 9500, false},
    {"Rouleau papier thermique 57 mm", 7010, 350, false},
    {"Tampon encreur", 7020, 2500, false},
    {"Calculatrice de bureau 12 chiffres", 8001, 12000, false},
    {"Clé USB 32 Go", 8010, 6500, false},
    {"Câble réseau RJ45 catégorie 6 (le mètre)", 8020, 550, true},
    {"Papier kraft en rouleau (le mètre)", 8030, 400, true},
    {"Film à bulles d'emballage (le mètre)", 8031, 650, true},
    {"Installation et configuration (l'heure)", 9001, 15000, true},
    {"Transport et livraison", 9010, 8000, false},
};

// Trade names: a kind of business, then a family or place name, sometimes a legal form.
const std::array kClientTrades = {"Librairie",       "Papeterie",    "Ets.",       "Société",   "Cabinet",
                                  "Imprimerie",      "École privée", "Clinique",   "Pharmacie", "Hôtel",
                                  "Café-Restaurant", "Garage",       "Menuiserie", "Agence",    "Fiduciaire"};
const std::array kSupplierTrades = {"Papeteries",    "Distribution",          "Grossiste",
                                    "Import Export", "Fournitures de bureau", "Comptoir"};
const std::array kNames = {"Al Amal",    "Atlas",    "Nour",        "Bennani",      "El Fassi",   "Tazi",
                           "Alaoui",     "Chraibi",  "Berrada",     "Essaada",      "Anfa",       "Majorelle",
                           "Oasis",      "Yasmine",  "Idrissi",     "Lahlou",       "Sefrioui",   "Kettani",
                           "Benjelloun", "Zerhouni", "Al Andalous", "Ibn Khaldoun", "Al Massira", "Belkadi",
                           "Tahiri",     "Ouazzani", "Guessous",    "Cherkaoui"};
const std::array kLegalForms = {"", "", "", " SARL", " SA", " & Fils", " SARL AU"};

const std::array kStreets = {"rue Ibn Sina",
                             "boulevard Zerktouni",
                             "avenue Mohammed V",
                             "avenue Hassan II",
                             "rue Allal Ben Abdellah",
                             "boulevard d'Anfa",
                             "rue de Fès",
                             "rue Tarik Ibn Ziad",
                             "avenue des FAR",
                             "boulevard Moulay Youssef",
                             "rue Abou Bakr Seddik",
                             "boulevard Abdelmoumen",
                             "rue Soumaya",
                             "avenue Lalla Yacout",
                             "rue du Prince Moulay Abdallah"};
const std::array kBuildings = {"Immeuble Al Manar", "Résidence Les Jardins", "Centre d'affaires Atlas",
                               "Immeuble Nassim", "Zone industrielle Sidi Bernoussi"};
// Casablanca comes up often on purpose: most customers are local.
const std::array kTowns = {"Casablanca", "Casablanca", "Casablanca", "Casablanca", "Rabat",
                           "Mohammédia", "Salé",       "Kénitra",    "El Jadida",  "Settat",
                           "Marrakech",  "Fès",        "Meknès",     "Tanger",     "Agadir"};

template <typename Array> QString pickText(Rng& rng, const Array& items) {
    return QString::fromUtf8(items[rng.below(items.size())]);
}

} // namespace

std::span<const Product> products() {
    static const std::vector<Product> all = [] {
        std::vector<Product> v;
        for (const ProductRow& r : kProducts)
            v.push_back({QString::fromUtf8(r.designation), r.reference, r.priceCents, r.divisible});
        return v;
    }();
    return all;
}

QString clientName(Rng& rng) {
    return pickText(rng, kClientTrades) + QLatin1Char(' ') + pickText(rng, kNames) +
           pickText(rng, kLegalForms);
}

QString supplierName(Rng& rng) {
    return pickText(rng, kSupplierTrades) + QLatin1Char(' ') + pickText(rng, kNames) +
           pickText(rng, kLegalForms);
}

QString postalAddress(Rng& rng) {
    QString street = QStringLiteral("%1, %2").arg(rng.between(1, 240)).arg(pickText(rng, kStreets));
    if (rng.percent(25))
        street = QStringLiteral("%1, %2e étage\n%3")
                     .arg(pickText(rng, kBuildings))
                     .arg(rng.between(2, 9))
                     .arg(street);
    return street + QLatin1Char('\n') + pickText(rng, kTowns);
}

} // namespace pylon::demo
