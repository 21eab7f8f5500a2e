#pragma once

// Initialises libcurl once for the whole program, before its first use on any thread.
void InitialiseCurl();
