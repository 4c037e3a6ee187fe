#include "dataedit/card_field_catalogue.h"

#include <array>

namespace ravelfin {
namespace {

constexpr std::array kCreditCardTrack1{
    "(1a)Start Sentinel",  "(1b)Format Code\"B\"",
    "(1c)Account Code",    "(1d)Separator\"^\"",
    "(1e)Cardholder Name", "(1f)Separator\"^\"",
    "(1g)Expiration Date", "(1h)Optional Discretionary data",
    "(1i)End Sentinel",    "(1j)LRC",
    "(10)First Name",      "(11)Last Name",
};
constexpr std::array kCreditCardTrack2{
    "(2a)Start Sentinel",
    "(2b)Account Number",
    "(2c)Separator \"=\"",
    "(2d)Expiration date \"YYMM\"",
    "(2e)Optional discretionary data",
    "(2f)End Sentinel",
    "(2g)LRC",
    "(20)Expiration Year(YY)",
    "(21)Expiration Month(MM)",
};

constexpr std::array kDmvTrack1{
    "(1a)Start Sentinel", "(1b)Format Type", "(1c)Name Line 1",  "(1d)Name Line 2",
    "(1e)Address Line 1", "(1f)City",        "(1g)End Sentinel", "(1h)LRC",
};
constexpr std::array kDmvTrack2{
    "(2a)Start Sentinel",         "(2b)(ANSI User ID)ID No.",
    "(2c)Field Separator \"=\"",  "(2d)Expiration Date",
    "(2e)Field Separator \"=\"",  "(2f)Discretionary Data",
    "(2g)End Sentinel",           "(2h)LRC",
    "(20)DL/ID Alpha Translated", "(21)DL/ID Alpha",
    "(22)DL/ID digit number",
};
constexpr std::array kDmvTrack3{
    "(3a)Start Sentinel", "(3b)Classs",
    "(3c)Endorsements",   "(3d)State Code",
    "(3e)Zip Code",       "(3f)Sex",
    "(3g)Hair",           "(3h)Eyes",
    "(3i)Height",         "(3j)Weight",
    "(3k)Restrictions",   "(3l)Issue Date",
    "(3m)Office",         "(3n)Employee ID",
    "(3o)LRE ID",         "(3p)Fee Due Year",
    "(3q)Address Line 2", "(3r)Reserved Space",
    "(3s)End Sentinel",   "(3t)LRC",
};

constexpr std::array kAamvaTrack1{
    "(1a)Start Sentinel", "(1b)State or Province", "(1c)City", "(1d)Name",
    "(1e)Address",        "(1f)End Sentinel",      "(1g)LRC",  "(10)First Name",
    "(11)Middle Name",    "(12)Last Name",
};
constexpr std::array kAamvaTrack2{
    "(2a)Start Sentinel",
    "(2b)ANSI User Code",
    "(2c))ANSI User ID.",
    "(2d)Jurisdiction ID/DL",
    "(2e)Expiration Date",
    "(2f)Birthdate",
    "(2g)Remainder of Jurisdiction ID/DL",
    "(2h)End Sentinel",
    "(2i)LRC",
    "(20)DL/ID Alpha Translated",
    "(21)DL/ID Alpha",
    "(22)DL/ID digit number",
};
constexpr std::array kAamvaTrack3{
    "(3a)Start Sentinel",
    "(3b)Template Version #",
    "(3c)Security Version #",
    "(3d)Postal Code",
    "(3e)Class",
    "(3f)Restrictions",
    "(3g)Endorsements",
    "(3h)Sex",
    "(3i)Height",
    "(3j)Weight",
    "(3k)Hair Color",
    "(3l)Eye Color",
    "(3m)ID #",
    "(3n)Reserved Space",
    "(3o)Error Correction",
    "(3p)Security",
    "(3q)End Sentinel",
    "(3r)LRC",
};

}  // namespace

std::span<const char* const> CatalogueFields(CardCatalogue card, int track) {
    switch (card) {
        case CardCatalogue::kCreditCard:
            if (track == 1)
                return kCreditCardTrack1;
            if (track == 2)
                return kCreditCardTrack2;
            break;
        case CardCatalogue::kDmv:
            if (track == 1)
                return kDmvTrack1;
            if (track == 2)
                return kDmvTrack2;
            if (track == 3)
                return kDmvTrack3;
            break;
        case CardCatalogue::kAamva:
            if (track == 1)
                return kAamvaTrack1;
            if (track == 2)
                return kAamvaTrack2;
            if (track == 3)
                return kAamvaTrack3;
            break;
    }
    return {};
}

}  // namespace ravelfin
