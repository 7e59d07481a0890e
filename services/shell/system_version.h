#pragma once

namespace kestro {

// True on an NT-family system whose major version is above 5 (Vista and later).
bool IsVistaOrLater();

}  // namespace kestro
