// The recording's command entry points (until the command table declares them).
#pragma once

bool ReserveArticle();         // 507
bool OpenRecordingDialog();    // 508
bool OpenRecordingSettings();  // 553
bool OpenRecordingFolder();    // 503
