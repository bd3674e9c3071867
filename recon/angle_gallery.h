// Every second angle layer at half size.
#pragma once

void ShowAngleGallery();
