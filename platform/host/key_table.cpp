// KeyTable: the asynchronous key state kept by every host.
#include "key_table.h"

namespace host {

void KeyTable::Press(int vk) {
    if (!InRange(vk)) return;
    down_[vk] = true;
    pressedSinceQuery_[vk] = true;
    if (observer_) observer_->OnKeyPressed(vk);
}

void KeyTable::Release(int vk) {
    if (!InRange(vk)) return;
    down_[vk] = false;
    if (observer_) observer_->OnKeyReleased(vk);
}

void KeyTable::ReleaseAll() {
    down_.fill(false);
    pressedSinceQuery_.fill(false);
    if (observer_) observer_->OnAllKeysReleased();
}

int16_t KeyTable::Query(int vk) {
    if (!InRange(vk)) return 0;
    int result = (down_[vk] ? 0x8000 : 0) | (pressedSinceQuery_[vk] ? 1 : 0);
    pressedSinceQuery_[vk] = false;
    return static_cast<int16_t>(result);
}

bool KeyTable::IsDown(int vk) const { return InRange(vk) && down_[vk]; }

} // namespace host
