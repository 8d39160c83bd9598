-- The events' demo: the foyer's preset 1 switches the lobby on, preset 4 of
-- the boardroom ends the meeting, and a lobby panel key (a custom code) runs
-- "Lobby Off". Macros come from 10-desktop.sql.
BEGIN;
INSERT INTO CustomCodes (CustomCodeName, CustomCode) VALUES ('Lobby panel key', '1C 02 64 0A 00 00 FF 75');
INSERT INTO Events (EventName, Area, Preset, Macro_ID, CustomCode_ID)
  SELECT 'Foyer on', 1, 1, Macro_ID, NULL FROM Macros WHERE Macro = 'Lobby On';
INSERT INTO Events (EventName, Area, Preset, Macro_ID, CustomCode_ID)
  SELECT 'Boardroom''s off key', 3, 4, Macro_ID, NULL FROM Macros WHERE Macro = 'Boardroom Off';
INSERT INTO Events (EventName, Area, Preset, Macro_ID, CustomCode_ID)
  SELECT 'Lobby key off', NULL, NULL, Macros.Macro_ID, CustomCodes.CustomCode_ID
  FROM Macros, CustomCodes WHERE Macros.Macro = 'Lobby Off' AND CustomCodes.CustomCodeName = 'Lobby panel key';
COMMIT;
