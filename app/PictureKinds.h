#pragma once
// The picture kinds of this program, registered with the picture loader at
// start-up: the toolkit's own (bitmaps, icons, metafiles, JPEG) and PNG.

namespace tabulon {

void RegisterPictureKinds();

} // namespace tabulon
