#pragma once

namespace vexora {

// What the tray icon shows.
enum class StatusIconState { idle, processing, success, error };

}  // namespace vexora
