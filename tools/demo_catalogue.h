#pragma once
// What the demo business sells and whom it deals with: an office-supplies trader in Casablanca.
// Only vocabulary lives here; the choices of which and how many are the generator's.
#include "demo_random.h"

#include <QString>
#include <span>

namespace pylon::demo {

struct Product {
    QString designation; // at most 54 characters, as the line editor allows
    int reference;       // shown as "Réf. 1203" in the NB column
    qint64 priceCents;   // the usual selling price
    bool divisible;      // sold by the metre or the hour: quantities such as "2,5"
};

std::span<const Product> products();

// A customer's trade name: "Librairie Al Amal", "Ets. Bennani & Fils", …
QString clientName(Rng& rng);
// A supplier's trade name: "Papeteries Atlas SA", …
QString supplierName(Rng& rng);
// Two or three lines joined by "\n", the town last: "12, rue Ibn Sina\nCasablanca".
QString postalAddress(Rng& rng);

} // namespace pylon::demo
