-- The schedules' demo, on the macros of 10-desktop.sql: the lobby follows
-- the sun (on 30 minutes before sunset, off an hour after sunrise), fixed
-- times on weekdays and every evening, a monthly meeting, a yearly party and
-- one weekly schedule the user has disabled.
BEGIN;
INSERT INTO Scheduler (Scheduler_ID, Macro_ID, Disabled, startdate, starttime, Sunset, "before", hours,
                       RecurringDaily, D1_EveryXdays)
  VALUES (1, 1, 0, '2026-01-05 12:00:00', NULL, 1, 1, '00:30', 1, 1);
INSERT INTO Scheduler (Scheduler_ID, Macro_ID, Disabled, startdate, starttime, Sunset, "before", hours,
                       RecurringDaily, D1_EveryXdays)
  VALUES (2, 2, 0, '2026-01-05 12:00:00', NULL, 0, 0, '01:00', 1, 1);
INSERT INTO Scheduler (Scheduler_ID, Macro_ID, Disabled, startdate, starttime, hours, RecurringDaily, D2_EveryWeekDay)
  VALUES (3, 7, 0, '2026-01-05 07:30:00', '07:30', '00:00', 1, 1);
INSERT INTO Scheduler (Scheduler_ID, Macro_ID, Disabled, startdate, starttime, hours, RecurringDaily, D1_EveryXdays)
  VALUES (4, 6, 0, '2026-01-05 23:00:00', '23:00', '00:00', 1, 1);
INSERT INTO Scheduler (Scheduler_ID, Macro_ID, Disabled, startdate, starttime, hours, RecurringMonthly,
                       M2_TheWhatDay, M2_OfEveryWhatDay, M2_OfEveryXmonths)
  VALUES (5, 3, 0, '2026-01-05 09:00:00', '09:00', '00:00', 1, 'First', 'Tuesday', 1);
INSERT INTO Scheduler (Scheduler_ID, Macro_ID, Disabled, startdate, starttime, hours, RecurringYearly,
                       Y1_EverywhatDay, Y1_OfEveryNameofMonth)
  VALUES (6, 5, 0, '2026-01-05 18:00:00', '18:00', '00:00', 1, 24, 'December');
INSERT INTO Scheduler (Scheduler_ID, Macro_ID, Disabled, startdate, starttime, hours, RecurringWeekly,
                       W_EveryXweeks, W_Mon, W_Wed, W_Fri)
  VALUES (7, 8, 1, '2026-01-05 19:00:00', '19:00', '00:00', 1, 1, 1, 1, 1);
COMMIT;
