// The built-in source identifiers: portal addresses that switch on extraction rules of their
// own when a category's Parameter2 (or, for the RSS feeds, Parameter3) names them. They are
// configuration: read from the menu definition file at start-up, with the real portals'
// addresses as the shipped values, so that tests can point them at the local test site.
#pragma once

enum SourceId {
    SourceYahooNews,          // top page; ExtractFieldPair with the address first
    SourceYahooNewsDoubled,   // the same written with a doubled final slash: paged articles
    SourceYahooNewsHost,      // host of the continuation pages, without a final slash
    SourceSankei,
    SourceAllAbout,
    SourceNikkanGendai,
    SourceNatalie,
    SourceAnimateTimesDoubled,
    SourceDailySports,
    SourceWeather,            // the forecast site
    SourceGooNews,            // host used by the related-page receiver
    SourceAsahiRssHost,       // host of the eight Asahi RSS feeds
    SourceCount
};

// The configured address of a source (never null).
const char* SourceAddress(SourceId id);

// Whether a category parameter names the source, by exact string equality.
bool IsSource(const char* parameter, SourceId id);
