-- A new installation: the built-in users only, on top of the base rows every site starts with.
-- Placeholders {{PASSWORD:text}} are replaced by the login component's stored form of the text
-- before the script runs.

-- The technician accounts and the installation's administrator. The administrator holds every
-- system privilege, so that the configuration wizard's steps and the screens they open are
-- available to bring the site into use; the wizard is shown at its first log-in.
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, nbr_bad_attempts, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, must_change_signature_password)
VALUES (0, 'VTSUPPORT', 0x{{PASSWORD:support}}, 'Technical', 'Support', 1, 0, 1, GETDATE(), 0, 0, 1, NULL, 0, 3, 0, 0, '', 0, 0, 0, 0)
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, nbr_bad_attempts, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, must_change_signature_password)
VALUES (1, 'ADMINISTRATOR', 0x{{PASSWORD:demo}}, 'System', 'Administrator', 1, 0, 1, GETDATE(), 0, 0, 1, REPLICATE(CHAR(2), 160), 0, 3, 0, 0, '', 0, 0, 0, 0)
INSERT System_user_bindery (user_id, user_name, password, first_name, last_name, enabled, locked_out, is_administrator, password_changed_datetime, must_change_password, nbr_bad_attempts, can_change_password, privilege_set1, flag1, flag2, flag3, flag4, string1, is_deleted, partition_id, is_shared, must_change_signature_password)
VALUES (2, 'VTTECH', 0x{{PASSWORD:support}}, 'Field', 'Technician', 1, 0, 1, GETDATE(), 0, 0, 1, NULL, 0, 3, 0, 0, '', 0, 0, 0, 0)
INSERT System_user_cfg (user_id, application_id, key_name, key_value, partition_id) VALUES (1, 77, 'SHOWWIZARD', 'YES', 0)
GO
