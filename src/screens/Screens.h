#pragma once
// The program's windows; each screen lives in its own module in this folder.
