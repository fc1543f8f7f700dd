int kd_speech_unrelated_export(void) { return 1; }
