#pragma once

// Whether the tests run under Wine rather than Windows: where Wine is known
// to differ from Windows, a test judges only what Wine can show.
bool underWine();
