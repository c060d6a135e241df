// What the page's counters panel reads after every frame: the game's four
// counters, which nothing on screen shows. Built into the page's program
// only; the game itself does not know of it.
#include <emscripten.h>

#include "world.h"

// 0 Shield, 1 Lives, 2 BossEnergy, 3 Score; 0 for any other index.
extern "C" EMSCRIPTEN_KEEPALIVE int qv_counter(int index) {
    switch (index) {
    case 0: return Shield;
    case 1: return Lives;
    case 2: return BossEnergy;
    case 3: return Score;
    default: return 0;
    }
}
