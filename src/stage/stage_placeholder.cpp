// The stage library is filled by the stage window files.
