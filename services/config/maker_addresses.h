#pragma once
// The maker's addresses, written once. Everything that reports to, links to or
// opens a page of the maker takes its address from here.

namespace kestro::config {

// The statistics and feedback reports go to this host, plain HTTP on port 80
// (see statistics_endpoint.h for how test builds point them elsewhere).
inline constexpr wchar_t kStatisticsHost[] = L"stat.tarnwell.com";
inline constexpr unsigned short kStatisticsPort = 80;

// Written as "HelpLink" of the uninstall entry.
inline constexpr wchar_t kHelpLink[] = L"http://www.tarnwell.com/";

// Opened when the installer cannot use its package (error code 10).
inline constexpr wchar_t kProductPageUrl[] = L"http://www.tarnwell.com/simulate";

// The terms page, reached through the maker's redirect service.
inline constexpr wchar_t kTermsPageUrl[] = L"http://go.tarnwell.com/redirect?p=gc_terms";

}  // namespace kestro::config
