// Whether the console's listening socket may take its address while closed
// connections still hold it (SO_REUSEADDR): on Linux that is all it does, so
// a console restarted on the same --port comes up at once; on Windows it
// would also let another program take the port from under the console.
#pragma once

namespace vorlanex::tool {

bool reuseListeningAddress();

}  // namespace vorlanex::tool
