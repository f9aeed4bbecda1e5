#pragma once
// COM name resolution on Linux (to be written).
