// A demo's items fed to the headless host pass by pass.
#include "demo_playback.h"

#include "headless.h"

using hostcommon::DemoItem;
using hostcommon::DemoOp;

void DemoPlayback::Install() {
    headless::SetKeyTableFollowsEvents(false);
    headless::SetTickSource([this] { return player_.NextTick(); });
    headless::SetAnswerSource([this](int32_t* answer) { return player_.NextAnswer(answer); });
}

void DemoPlayback::Feed(const hostcommon::DemoPlayer::Step& step) {
    for (const DemoItem& item : step.items) {
        switch (item.op) {
        case DemoOp::KeyDown: headless::QueueKeyDown(item.vk, item.repeat, item.alt); break;
        case DemoOp::KeyUp: headless::QueueKeyUp(item.vk, item.alt); break;
        case DemoOp::Activate: headless::Activate(); break;
        case DemoOp::Deactivate: headless::Deactivate(); break;
        case DemoOp::Close: headless::Close(); break;
        case DemoOp::KeyPress: headless::QueueKeyChange(headless::KeyChange::Press, item.vk); break;
        case DemoOp::KeyRelease: headless::QueueKeyChange(headless::KeyChange::Release, item.vk); break;
        case DemoOp::KeyReleaseAll: headless::QueueKeyChange(headless::KeyChange::ReleaseAll); break;
        default: break;
        }
    }
    if (step.ranOut) headless::Close();
}

void DemoPlayback::OnPump() {
    Feed(player_.Pump());
}

void DemoPlayback::OnWait() {
    Feed(player_.Wait());
}

void DemoPlayback::Stop() {
    if (player_.Stop()) headless::Close();
}
