// The built-in source identifiers: portal addresses that switch on extraction rules of their
// own when a category's Parameter2 (or, for the RSS feeds, Parameter3) names them. They are
// configuration: read from the menu definition file at start-up, with the real portals'
// addresses as the shipped values, so that tests can point them at the local test site.
#pragma once

enum SourceId {
    SourceYahooNews,         // top page; ExtractFieldPair with the address first
    SourceYahooNewsDoubled,  // the same written with a doubled final slash: paged articles
    SourceYahooNewsHost,     // host of the continuation pages, without a final slash
    SourceSankei,
    SourceAllAbout,
    SourceNikkanGendai,
    SourceNatalie,
    SourceAnimateTimesDoubled,
    SourceDailySports,
    SourceWeather,       // the forecast site
    SourceGooNews,       // host used by the related-page receiver
    SourceAsahiRssHost,  // host of the eight Asahi RSS feeds
    SourceMakerSite,     // the maker's site: version file and product page, no final slash
    SourceCount
};

// The configured address of a source (never null).
const char* SourceAddress(SourceId id);

// Whether a category parameter names the source, by exact string equality.
bool IsSource(const char* parameter, SourceId id);

// The key of the source in the "[Sources]" section of the main menu file, e.g. "YahooNews".
const char* SourceKey(SourceId id);

// The address the program ships with for the source.
const char* ShippedSourceAddress(SourceId id);

// Replaces the configured address; an empty or missing one restores the shipped address.
// Addresses longer than 255 bytes are cut. Called at start-up, before any reception.
void SetSourceAddress(SourceId id, const char* address);

// Reads every source address from the "[Sources]" section of the main menu file (Win32 only);
// a missing key keeps the shipped address.
void LoadSourceAddresses(const char* menuFile);
