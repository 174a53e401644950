#pragma once

#include <functional>

namespace tarvo::test {

// Runs check with the rights of an ordinary user and returns its answer.
// Root may write where nobody else may, so as root check runs in a child that
// has dropped to the user "nobody"; the files it touches must be reachable by
// that user. As any other user check simply runs here.
bool asOrdinaryUser(const std::function<bool()>& check);

}  // namespace tarvo::test
