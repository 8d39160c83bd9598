-- The events' demo: the foyer's preset 1 switches the open plan on, preset 4
-- of the boardroom switches it off, and a lobby panel key (a custom code) runs
-- "Lobby Off". Macros come from 10-desktop.sql. No event runs a macro that
-- sets its own area and preset: the echo of the macro's message would start
-- the event again, for ever.
BEGIN;
INSERT INTO CustomCodes (CustomCodeName, CustomCode) VALUES ('Lobby panel key', '1C 02 64 0A 00 00 FF 75');
INSERT INTO Events (EventName, Area, Preset, Macro_ID, CustomCode_ID)
  SELECT 'Foyer on', 1, 1, Macro_ID, NULL FROM Macros WHERE Macro = 'Open Plan On';
INSERT INTO Events (EventName, Area, Preset, Macro_ID, CustomCode_ID)
  SELECT 'Boardroom''s off key', 3, 4, Macro_ID, NULL FROM Macros WHERE Macro = 'Open Plan Off';
INSERT INTO Events (EventName, Area, Preset, Macro_ID, CustomCode_ID)
  SELECT 'Lobby key off', NULL, NULL, Macros.Macro_ID, CustomCodes.CustomCode_ID
  FROM Macros, CustomCodes WHERE Macros.Macro = 'Lobby Off' AND CustomCodes.CustomCodeName = 'Lobby panel key';
COMMIT;
